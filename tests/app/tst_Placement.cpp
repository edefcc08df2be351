// Where the panel opens, on one display and on several; the display list and
// the desktop picture. Runs with four offscreen screens (screens.json): A
// 1920x1080 at 0, B 1280x1024 at 1920, a 600-wide one at 3200, and one
// mirroring A.
#include <QComboBox>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include "TestDriver.h"
#include "app/BTAppDelegate.h"
#include "app/BTPanelView.h"
#include "app/PanelControls.h"
#include "app/PanelGeometry.h"
#include "foundation/Log.h"
#include "platform/qt/ScreenShot.h"
#include "ui_Panel.h"

using namespace taviro;

class PlacementTest : public QObject {
  Q_OBJECT
 private slots:
  void panelHangsCentredUnderTheStatusBar_data();
  void panelHangsCentredUnderTheStatusBar();
  void arrowPointsAtTheStatusItem();
  void panelOpensOnTheSelectedDisplay_data();
  void panelOpensOnTheSelectedDisplay();
  void shiftClickSlowsTheOpening_data();
  void shiftClickSlowsTheOpening();
  void displayListNamesEveryDisplayAndAllOfThem();
  void displaysFollowTheScreensWithFlippedFrames();
  void desktopPictureLeavesMirrorsOutAndFailedCapturesClear();
  void screenShotOfOneDisplayHasItsSize();
};

void PlacementTest::panelHangsCentredUnderTheStatusBar_data() {
  QTest::addColumn<QRect>("display");
  QTest::addColumn<QSize>("item");
  QTest::addColumn<QRect>("status");
  QTest::addColumn<QRect>("panel");
  QTest::newRow("wide display") << QRect(0, 0, 1920, 1080) << QSize(24, 22)
                                << QRect(948, 22, 24, 22) << QRect(620, 22, 681, 571);
  QTest::newRow("second display") << QRect(1920, 0, 1280, 1024) << QSize(24, 22)
                                  << QRect(2548, 22, 24, 22) << QRect(2220, 22, 681, 571);
  // (600 - 24) / 2 = 288; 288 + 12 - 340.5 rounds away from zero to -41;
  // the right edge then lies 8 inside: 600 - 8 - 681 = -89.
  QTest::newRow("narrower than the panel") << QRect(0, 0, 600, 800) << QSize(24, 22)
                                           << QRect(288, 22, 24, 22) << QRect(-89, 22, 681, 571);
  // 485.5 and 160.5 both round up.
  QTest::newRow("odd widths round halves away")
      << QRect(0, 0, 1001, 700) << QSize(30, 24) << QRect(486, 24, 30, 24)
      << QRect(161, 24, 681, 571);
}

void PlacementTest::panelHangsCentredUnderTheStatusBar() {
  QFETCH(QRect, display);
  QFETCH(QSize, item);
  QFETCH(QRect, status);
  QFETCH(QRect, panel);
  const QRect s = statusRectForDisplay(display, item);
  QCOMPARE(s, status);
  const QRect p = panelRectForStatus(display, s);
  QCOMPARE(p, panel);
  QVERIFY(p.x() + p.width() <= display.x() + display.width() - kPanelRightInset);
}

void PlacementTest::arrowPointsAtTheStatusItem() {
  QCOMPARE(arrowXFor(QRect(948, 22, 24, 22), 620), 340);
  QCOMPARE(arrowXFor(QRect(288, 22, 24, 22), -89), 389);
  QCOMPARE(arrowXFor(QRect(0, 0, 25, 22), 0), 13);  // 12.5 rounds up
}

void PlacementTest::panelOpensOnTheSelectedDisplay_data() {
  QTest::addColumn<int>("index");
  QTest::addColumn<QRect>("expected");
  QTest::newRow("first") << 0 << QRect(620, 22, 681, 571);
  QTest::newRow("second") << 1 << QRect(2220, 22, 681, 571);
  QTest::newRow("narrow, left edge off the display")
      << 2 << QRect(3200 + 600 - 8 - 681, 22, 681, 571);
  QTest::newRow("all displays opens on the first") << 4 << QRect(620, 22, 681, 571);
}

void PlacementTest::panelOpensOnTheSelectedDisplay() {
  QFETCH(int, index);
  QFETCH(QRect, expected);
  QTemporaryDir dir;
  test::TestDriver driver;
  BTAppDelegate::Options options;
  options.instanceName =
      QStringLiteral("taviro-test-") + QUuid::createUuid().toString(QUuid::Id128);
  options.autostartDir = dir.path();
  options.trayAvailable = false;     // an ordinary window
  options.createStatusIcon = false;  // no status item: 24 x 22 under the top edge
  options.createDriver = [&]() -> BTDriverManager& { return *driver.driver; };
  BTAppDelegate delegate(std::move(options));
  QVERIFY(delegate.applicationDidFinishLaunching());
  QTRY_VERIFY(delegate.notFirstShow());
  BTPanelView& panel = delegate.panelController().window();
  QCOMPARE(panel.ui().displaysCombo->count(), 5);
  panel.ui().displaysCombo->setCurrentIndex(index);
  delegate.togglePanel();
  QTRY_COMPARE(panel.geometry(), expected);
  // The arrow points at the status rectangle's centre, also when the panel
  // was pushed left.
  QTRY_COMPARE(panel.ui().backgroundView->arrowX(), index == 2 ? 389 : 340);
}

namespace {

QStringList gLogLines;
void collectLog(std::string_view line) {
  gLogLines << QString::fromUtf8(line.data(), qsizetype(line.size()));
}

}  // namespace

void PlacementTest::shiftClickSlowsTheOpening_data() {
  QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
  QTest::addColumn<bool>("slow");
  QTest::addColumn<bool>("logged");
  QTest::newRow("plain click") << Qt::KeyboardModifiers() << false << false;
  QTest::newRow("shift") << Qt::KeyboardModifiers(Qt::ShiftModifier) << true << false;
  QTest::newRow("shift+option") << (Qt::ShiftModifier | Qt::AltModifier) << true << true;
  QTest::newRow("shift+control") << (Qt::ShiftModifier | Qt::ControlModifier) << false << false;
}

void PlacementTest::shiftClickSlowsTheOpening() {
  QFETCH(Qt::KeyboardModifiers, modifiers);
  QFETCH(bool, slow);
  QFETCH(bool, logged);
  QTemporaryDir dir;
  test::TestDriver driver;
  BTAppDelegate::Options options;
  options.instanceName =
      QStringLiteral("taviro-test-") + QUuid::createUuid().toString(QUuid::Id128);
  options.autostartDir = dir.path();
  options.createDriver = [&]() -> BTDriverManager& { return *driver.driver; };
  BTAppDelegate delegate(std::move(options));
  QVERIFY(delegate.applicationDidFinishLaunching());
  QTRY_VERIFY(delegate.notFirstShow());

  gLogLines.clear();
  const LogSink previous = setLogSink(collectLog);
  delegate.menubarController()->statusItemView().mouseDown(modifiers);
  setLogSink(previous);
  const QString expectedLog = QStringLiteral(
      "Icon is at {{948, 22}, {24, 22}}\n\tMenu is on screen {{0, 0}, {1920, 1080}}\n\t"
      "Will be animated to {{620, 22}, {681, 571}}");
  QCOMPARE(gLogLines.contains(expectedLog), logged);

  const QRect target(620, 22, 681, 571);
  BTPanelView& panel = delegate.panelController().window();
  QTest::qWait(BTPanelViewController::kOpenDurationMs + 150);
  QCOMPARE(panel.geometry() != target, slow);  // a slow panel is still growing
  QTRY_COMPARE_WITH_TIMEOUT(panel.geometry(), target,
                            BTPanelViewController::kSlowOpenDurationMs + 500);
}

void PlacementTest::displayListNamesEveryDisplayAndAllOfThem() {
  const QStringList texts = displayItemTexts(orderedScreenGeometries());
  QCOMPARE(texts, (QStringList{QStringLiteral("디스플레이1:W:1920:H:1080(Main)"),
                               QStringLiteral("디스플레이2:W:1280:H:1024"),
                               QStringLiteral("디스플레이3:W:600:H:800"),
                               QStringLiteral("디스플레이4:W:1920:H:1080"),
                               QStringLiteral("모든 디스플레이:W:3800:H:1080")}));
  QCOMPARE(displayItemTexts({QRect(0, 0, 800, 600)}),
           QStringList{QStringLiteral("디스플레이1:W:800:H:600(Main)")});
}

void PlacementTest::displaysFollowTheScreensWithFlippedFrames() {
  QtDisplayServices services;
  const std::vector<taviro::Display> displays = services.activeDisplays();
  QCOMPARE(displays.size(), std::size_t(4));
  QCOMPARE(displays[0].bounds, Rect(0, 0, 1920, 1080));
  QCOMPARE(displays[1].bounds, Rect(1920, 0, 1280, 1024));
  // Frames are measured upwards from the main display's bottom edge.
  QCOMPARE(displays[1].frame, Rect(1920, 1080 - 1024, 1280, 1024));
  QCOMPARE(displays[2].frame, Rect(3200, 280, 600, 800));
  QCOMPARE(displays[3].mirrorOf, displays[0].id);
  QVERIFY(!displays[1].mirrors());
  QCOMPARE(services.mainDisplay()->id, displays[0].id);
  QVERIFY(services.screenFor(displays[1].id) != nullptr);
}

void PlacementTest::desktopPictureLeavesMirrorsOutAndFailedCapturesClear() {
  std::vector<taviro::Display> displays(3);
  displays[0] = taviro::Display{1, Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1080), 0};
  displays[1] = taviro::Display{2, Rect(1920, 0, 1920, 1080), Rect(1920, 0, 1920, 1080), 0};
  displays[2] =
      taviro::Display{3, Rect(-500, 0, 3000, 3000), Rect(-500, 0, 3000, 3000), 1};  // a mirror
  const QImage picture = composeDesktop(displays, [](const taviro::Display& d) {
    if (d.id == 2) return QImage();  // capture fails
    QImage shot(int(d.bounds.size.width), int(d.bounds.size.height), QImage::Format_RGB32);
    shot.fill(d.id == 1 ? Qt::red : Qt::green);
    return shot;
  });
  QCOMPARE(picture.size(), QSize(3840, 1080));
  QCOMPARE(picture.pixelColor(100, 100), QColor(Qt::red));
  QCOMPARE(picture.pixelColor(3000, 100).alpha(), 0);
  QVERIFY(composeDesktop({}, [](const taviro::Display&) { return QImage(); }).isNull());
}

void PlacementTest::screenShotOfOneDisplayHasItsSize() {
  QtDisplayServices services;
  QCOMPARE(screenShot(services, 1).size(), QSize(1280, 1024));
  QCOMPARE(screenShot(services, 4).size(), QSize(3800, 1080));
  QCOMPARE(screenShot(services, -1).size(), QSize(3800, 1080));  // unsigned: past the list
}

QTEST_MAIN(PlacementTest)
#include "tst_Placement.moc"
