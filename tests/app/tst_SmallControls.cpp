// The panel's small controls: the offset-field filter, the background's
// outline and the hover buttons.
#include <QPainterPath>
#include <QTest>

#include "views/BTBackgroundView.h"
#include "views/HSButton.h"
#include "views/OnlyIntegerValueFormatter.h"

using namespace taviro;
Q_DECLARE_METATYPE(taviro::PartialStringVerdict)

class SmallControls : public QObject {
  Q_OBJECT
 private slots:
  void formatterJudgesOffsetTexts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<PartialStringVerdict>("verdict");
    const auto add = [](PartialStringVerdict verdict, std::initializer_list<const char*> texts) {
      for (const char* text : texts) QTest::newRow(text) << QString::fromLatin1(text) << verdict;
    };
    add(PartialStringVerdict::Valid,
        {"", "0", "1", "0.5", "1.00", "0.00", ".5", "1.", " 0.5", "1e0", "+1"});
    add(PartialStringVerdict::InvalidWithBeep,
        {"1.01", "-0.5", "2", "0.5x", "abc", ".", "-", "1e"});
    add(PartialStringVerdict::InvalidSilently, {"0.125", "00000"});
  }

  void formatterJudgesOffsetTexts() {
    QFETCH(QString, text);
    QFETCH(PartialStringVerdict, verdict);
    QCOMPARE(judgePartialString(text), verdict);
    OnlyIntegerValueFormatter formatter;
    int pos = 0;
    QCOMPARE(formatter.validate(text, pos) == QValidator::Acceptable,
             verdict == PartialStringVerdict::Valid);
  }

  void backgroundArrowSitsAtArrowXAndCornersAreRounded() {
    const QPainterPath path = backgroundOutline(QRectF(0, 0, 200, 100), 40);
    // bounds inset by 1: the tip on the top edge, the base 8 lower, 34..46.
    QCOMPARE(QPointF(path.elementAt(0)), QPointF(40, 1));
    QCOMPARE(QPointF(path.elementAt(1)), QPointF(46, 9));
    QCOMPARE(QPointF(path.elementAt(path.elementCount() - 2)), QPointF(34, 9));
    QVERIFY(path.contains(QPointF(40, 5)));
    QVERIFY(!path.contains(QPointF(30, 5)));
    QVERIFY(!path.contains(QPointF(50, 5)));
    QCOMPARE(path.boundingRect(), QRectF(1, 1, 198, 98));
    QVERIFY(!path.contains(QPointF(1.5, 98.5)));  // bottom-left corner cut off
    QVERIFY(path.contains(QPointF(7, 92)));
    QVERIFY(path.contains(QPointF(100, 50)));
  }

  void hoverButtonsShowOneAtATimeAndActOnlyInTheActiveWindow() {
    QWidget window, other;
    auto* first = new HSButton(&window);
    auto* second = new HSButton(&window);
    second->move(0, 40);
    int clicks = 0;
    connect(first, &QPushButton::clicked, [&clicks] { ++clicks; });
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    window.show();
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    clicks = 0;  // the platform may have sent a real enter while showing
    QCoreApplication::sendEvent(first, &enter);
    QCOMPARE(clicks, 0);

    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    clicks = 0;
    QCoreApplication::sendEvent(first, &enter);
    QCOMPARE(clicks, 1);
    QCoreApplication::sendEvent(first, &enter);
    QCOMPARE(clicks, 2);
    first->repaint();
    QVERIFY(first->hover());
    QVERIFY(first->isShown());

    QCoreApplication::sendEvent(second, &enter);
    second->repaint();  // paints both: the second shows, the first hides
    QVERIFY(second->isShown());
    QVERIFY(!first->isShown());
    QVERIFY(first->hover());  // never cleared
    first->repaint();         // the next paint shows it again
    QVERIFY(first->isShown());
  }
};

QTEST_MAIN(SmallControls)
#include "tst_SmallControls.moc"
