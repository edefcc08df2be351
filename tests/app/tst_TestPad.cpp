// The pen test pad: what each gesture logs and draws, the stroke's width and
// opacity at a pressure, and that strokes outlive repaints but not a clear.
#include <QRegularExpression>
#include <QTest>

#include "SyntheticPen.h"
#include "foundation/Log.h"
#include "views/BTTestPadView.h"

using namespace taviro;

namespace {

QStringList gLines;

void collect(std::string_view line) {
  gLines << QString::fromUtf8(line.data(), qsizetype(line.size()));
}

// The labels of the lines logged since the last call.
QStringList takeLabels() {
  static const QRegularExpression label(QStringLiteral(R"(\] \[info\] \[([^\]]+)\])"));
  QStringList labels;
  for (const QString& line : std::exchange(gLines, {})) labels << label.match(line).captured(1);
  return labels;
}

// Pixels that are not white.
int inkedPixels(QWidget& pad) {
  const QImage image = pad.grab().toImage().convertToFormat(QImage::Format_RGB32);
  int inked = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) inked += image.pixel(x, y) != qRgb(255, 255, 255);
  return inked;
}

}  // namespace

class TestPadTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { previousSink_ = setLogSink(collect); }
  void cleanupTestCase() { setLogSink(previousSink_); }

  void init() {
    pad_ = std::make_unique<BTTestPadView>();
    pad_->resize(300, 200);
    pad_->show();
    QVERIFY(QTest::qWaitForWindowExposed(pad_.get()));
    takeLabels();
  }

  // Gestures written as steps: p press, d drag (moved with the button or tip
  // down), m move, r release; mouse (left button) or pen.
  void gesturesLogTheirLabelsAndOnlyLoopDragsDraw_data() {
    QTest::addColumn<bool>("pen");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<bool>("draws");
    const QStringList click{"DOWN", "UP"};
    const QStringList drag{"DOWN", "DRAGGED", "DRAGGED-LOOP", "DRAGGED-LOOP", "DOWN-LOOP"};
    QTest::newRow("mouse click") << false << "pr" << click << false;
    QTest::newRow("pen tap") << true << "pr" << click << false;
    QTest::newRow("mouse drag") << false << "pdddr" << drag << true;
    QTest::newRow("pen stroke") << true << "pdddr" << drag << true;
    QTest::newRow("one drag only logs")
        << true << "pdr" << QStringList{"DOWN", "DRAGGED", "DOWN-LOOP"} << false;
    QTest::newRow("hover, stroke, hover")
        << true << "mpddrm"
        << QStringList{"Move", "DOWN", "DRAGGED", "DRAGGED-LOOP", "DOWN-LOOP", "Move"} << true;
  }

  void gesturesLogTheirLabelsAndOnlyLoopDragsDraw() {
    QFETCH(bool, pen);
    QFETCH(QString, steps);
    QFETCH(QStringList, labels);
    QFETCH(bool, draws);
    QPoint at(40, 100);
    for (QChar step : steps) {
      at += QPoint(30, 5);
      const bool down = step == 'p' || step == 'd';
      if (pen) {
        const QEvent::Type type = step == 'p'   ? QEvent::TabletPress
                                  : step == 'r' ? QEvent::TabletRelease
                                                : QEvent::TabletMove;
        test::sendPen(pad_.get(), type, at, down ? 0.8 : 0.0, down);
      } else if (step == 'p') {
        QTest::mousePress(pad_.get(), Qt::LeftButton, {}, at);
      } else if (step == 'r') {
        QTest::mouseRelease(pad_.get(), Qt::LeftButton, {}, at);
      } else {
        QTest::mouseMove(pad_.get(), at);
      }
    }
    QCOMPARE(takeLabels(), labels);
    QCOMPARE(inkedPixels(*pad_) > 0, draws);
  }

  void eachLineCarriesTheEventsTabletFields() {
    test::sendPen(pad_.get(), QEvent::TabletPress, {10, 10}, 0.25, true);
    QTest::mousePress(pad_.get(), Qt::RightButton, {},
                      {20, 20});  // not the left button: not logged
    QCOMPARE(gLines.size(), 1);
    static const QRegularExpression line(QStringLiteral(
        R"(^-\[BTTestPadView logEvent:withType:\]\[Line \d+\] \[info\] \[DOWN\] cap 5 cc 1 pres 0\.250000 bn 0 bm 1$)"));
    QVERIFY2(line.match(gLines.front()).hasMatch(), qPrintable(gLines.front()));
  }

  void strokeWidthAndOpacityFollowThePressure_data() {
    QTest::addColumn<float>("pressure");
    QTest::addColumn<qreal>("width");
    QTest::addColumn<float>("alpha");
    QTest::newRow("none") << 0.0f << 0.0 << 0.1f;  // Qt's thinnest line
    QTest::newRow("half") << 0.5f << 15.0 << 0.3f;
    QTest::newRow("full") << 1.0f << 30.0 << 0.5f;
  }

  void strokeWidthAndOpacityFollowThePressure() {
    QFETCH(float, pressure);
    QFETCH(qreal, width);
    QFETCH(float, alpha);
    const QPen pen = testPadPen(pressure);
    QCOMPARE(pen.widthF(), width);
    QCOMPARE(pen.capStyle(), Qt::RoundCap);
    QCOMPARE(pen.color().rgb(), qRgb(0, 0, 255));
    QVERIFY(qAbs(pen.color().alphaF() - alpha) < 1e-3);

    // Drawn: across a horizontal stroke (on pixel centres, away from the
    // joints where segments overlap), as wide as the pen (a pixel at least)
    // and blue over white at that opacity. The first segment runs from the
    // press to the second drag, 40 to 150.
    test::sendPenStroke(pad_.get(), {40, 100.5}, {260, 100.5}, 4, pressure, pressure);
    const QImage image = pad_->grab().toImage();
    const int blend = qRound(255 * (1 - alpha));
    const auto blue = [blend](QRgb p) {
      return qAbs(qRed(p) - blend) <= 1 && qGreen(p) == qRed(p) && qBlue(p) == 255;
    };
    const int half = qMax(1, qRound(width / 2));
    for (int y : {100, 100 - half + 1, 100 + half - 1})
      QVERIFY2(blue(image.pixel(100, y)), qPrintable(QString::number(image.pixel(100, y), 16)));
    QCOMPARE(image.pixel(100, 100 + half + 1), qRgb(255, 255, 255));
  }

  void strokesOutliveRepaintsUntilCleared() {
    test::sendPenStroke(pad_.get(), {20, 20}, {280, 180}, 20, 0.2, 1.0);
    const int inked = inkedPixels(*pad_);
    QVERIFY(inked > 1000);
    pad_->hide();
    pad_->show();
    pad_->repaint();
    pad_->resize(320, 220);
    QCOMPARE(inkedPixels(*pad_), inked);
    pad_->clearDisplay();
    QCOMPARE(inkedPixels(*pad_), 0);
  }

 private:
  std::unique_ptr<BTTestPadView> pad_;
  LogSink previousSink_ = nullptr;
};

QTEST_MAIN(TestPadTest)
#include "tst_TestPad.moc"
