// The key tip on four offscreen screens (screens.json: A 1920x1080 at 0, B
// 1280x1024 at 1920, ...): which elements show, with which label, where, and
// for how long.
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QTest>

#include "app/ShowShoutcut.h"
#include "driver/ShortcutHandOff.h"
#include "shortcuts/KeyMapInfo.h"

using namespace taviro;

namespace {

struct Shortcuts : ShortcutLookup {
  std::string readShortcutForCmd(int key) override {
    return key == 2 ? "E,B;" : key == 0 ? "Ctrl+Z;" : "";
  }
};

int tagOf(const QWidget* element) { return element->property("tag").toInt(); }

}  // namespace

class ShowShoutcutTest : public QObject {
  Q_OBJECT
 private slots:
  void tipShowsTheKeysPictureAndLabelCentredAtTheTopOfItsDisplay_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("screen");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("label");
    QTest::newRow("key 2, second display")
        << 2 << 1 << QPoint(1920 + 640 - 190, 10) << "브러시 전환 ";
    QTest::newRow("key 0, first display") << 0 << 0 << QPoint(960 - 190, 10) << "Ctrl+Z ";
    QTest::newRow("key 4, nothing set") << 4 << 0 << QPoint(960 - 190, 10) << "정의되지 않음";
  }

  void tipShowsTheKeysPictureAndLabelCentredAtTheTopOfItsDisplay() {
    QFETCH(int, key);
    QFETCH(int, screen);
    QFETCH(QPoint, at);
    QFETCH(QString, label);
    QCOMPARE(QGuiApplication::screens().size(), 4);
    QPointer<ShowShoutcut> tip =
        ShowShoutcut::showShortcutTip(shortcuts_, key, QGuiApplication::screens()[screen]);
    QVERIFY(tip && tip->isVisible());
    QCOMPARE(tip->pos(), at);
    QCOMPARE(tip->width(), 380);
    QCOMPARE(tip->windowOpacity(), 0.8);
    QVERIFY(tip->windowFlags() & Qt::WindowStaysOnTopHint);

    const auto elements = tip->view()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QCOMPARE(elements.size(), 10);  // a picture and a label per key
    for (QWidget* element : elements) {
      QCOMPARE(element->isVisible(), tagOf(element) == key);
      if (auto* text = qobject_cast<QLabel*>(element))
        QCOMPARE(text->text(), tagOf(element) == key ? label : QString());
      else
        QVERIFY(qobject_cast<QSvgWidget*>(element)->renderer()->isValid());
    }
    delete tip;
  }

  void tipClosesItselfAfterTwoAndAHalfSeconds() {
    QPointer<ShowShoutcut> tip = ShowShoutcut::showShortcutTip(shortcuts_, 1, nullptr);
    QVERIFY(tip);
    QCOMPARE(tip->screenSize(), QRectF(QGuiApplication::primaryScreen()->geometry()));
    QTest::qWait(ShowShoutcut::kShowMs - 500);
    QVERIFY(tip && tip->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!tip, 5000);
  }

  void keysWithoutAPictureOpenNoTip() {
    for (long kid : {5L, 7L, 15L, -1L}) {
      QVERIFY(!ShowShoutcut::showShortcutTip(shortcuts_, kid, nullptr));
      QVERIFY(expressKeyPicture(kid).isEmpty());
    }
    const auto windows = QApplication::topLevelWidgets();
    QVERIFY(std::none_of(windows.begin(), windows.end(),
                         [](QWidget* w) { return qobject_cast<ShowShoutcut*>(w); }));
    for (long kid = 0; kid < 5; ++kid) QVERIFY(QSvgRenderer(expressKeyPicture(kid)).isValid());
  }

 private:
  Shortcuts shortcuts_;
};

QTEST_MAIN(ShowShoutcutTest)
#include "tst_ShowShoutcut.moc"
