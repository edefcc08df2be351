// Windows on several displays: where the panel, the key tips and the display
// numbers open, and what a key tip shows for how long; the display list and
// the desktop picture. Runs with four offscreen screens (screens.json): A
// 1920x1080 at 0, B 1280x1024 at 1920, a 600-wide one at 3200, and one
// mirroring A.
#include <QPointer>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QTest>

#include "TestApp.h"
#include "app/BTPanelView.h"
#include "app/ShowShoutcut.h"
#include "driver/ShortcutHandOff.h"
#include "foundation/Log.h"
#include "platform/qt/ScreenShot.h"
#include "shortcuts/InputEmulator.h"
#include "ui_Panel.h"
#include "views/MonitorFlag.h"

using namespace taviro;
using test::shownWindows;

static QStringList gLogLines;

// Key 2 toggles the brush, key 0 undoes, the others have nothing set.
struct Shortcuts : ShortcutLookup {
  std::string readShortcutForCmd(int key) override {
    return key == 2 ? "E,B;" : key == 0 ? "Ctrl+Z;" : "";
  }
};

class PlacementTest : public QObject {
  Q_OBJECT
 private slots:
  void panelOpensOnTheChosenDisplayAtTheClicksPace_data() {
    QTest::addColumn<bool>("tray");  // without one: 24 x 22 under the display's top edge
    QTest::addColumn<int>("index");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QRect>("expected");
    QTest::addColumn<bool>("slow");
    QTest::addColumn<bool>("logged");
    const Qt::KeyboardModifiers none;
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    const QRect first(620, 22, 681, 571);  // 948 + 12 - 340.5: halves round away from zero
    QTest::newRow("second") << false << 1 << none << QRect(2220, 22, 681, 571) << false << false;
    QTest::newRow("narrow, left edge off the display")
        << true << 2 << none << QRect(3200 + 600 - 8 - 681, 22, 681, 571) << false << false;
    QTest::newRow("all displays: the first") << false << 4 << none << first << false << false;
    QTest::newRow("shift") << true << 0 << shift << first << true << false;
    QTest::newRow("shift+alt") << true << 0 << (shift | Qt::AltModifier) << first << true << true;
    QTest::newRow("shift+ctrl") << true << 0 << (shift | Qt::ControlModifier) << first << false
                                << false;
  }

  void panelOpensOnTheChosenDisplayAtTheClicksPace() {
    QFETCH(bool, tray);
    QFETCH(int, index);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QRect, expected);
    QFETCH(bool, slow);
    QFETCH(bool, logged);
    test::TestApp app(tray);
    QVERIFY(app.start());
    BTAppDelegate& delegate = *app.delegate;
    BTPanelView& panel = delegate.panelController().window();
    QCOMPARE(panel.ui().displaysCombo->count(), 5);
    panel.ui().displaysCombo->setCurrentIndex(index);

    gLogLines.clear();
    const LogSink previous = setLogSink([](std::string_view line) {
      gLogLines << QString::fromUtf8(line.data(), qsizetype(line.size()));
    });
    if (tray)
      delegate.menubarController()->statusItemView().mouseDown(modifiers);
    else
      delegate.togglePanel();
    setLogSink(previous);
    const QString expectedLog = QStringLiteral(
        "Icon is at {{948, 22}, {24, 22}}\n\tMenu is on screen {{0, 0}, {1920, 1080}}\n\t"
        "Will be animated to {{620, 22}, {681, 571}}");
    QCOMPARE(gLogLines.contains(expectedLog), logged);

    QTest::qWait(BTPanelViewController::kOpenDurationMs + 150);
    // Without a tray the panel is an ordinary window: its frame goes there.
    const auto placed = [&] {
      return tray ? panel.geometry() : QRect(panel.frameGeometry().topLeft(), panel.size());
    };
    QCOMPARE(placed() != expected, slow);  // a slow panel is still growing
    QTRY_COMPARE_WITH_TIMEOUT(placed(), expected, BTPanelViewController::kSlowOpenDurationMs + 500);
    // The arrow points at the status rectangle's centre, also when the panel
    // was pushed left; an ordinary window draws none.
    QCOMPARE(panel.ui().backgroundView->isFramed(), !tray);
    if (tray) QTRY_COMPARE(panel.ui().backgroundView->arrowX(), index == 2 ? 389 : 340);
  }

  // The display list: N + 1 items; choosing one makes it the driver's
  // display and screen area, except while the panel loads the stored ones;
  // the express keys' display switch cycles through the displays only.
  void displayListDrivesTheDriverAndTheSwitchCycles() {
    test::TestApp app;
    BTDriverManager& driver = app.driver;
    driver.setDisplayId(1);
    driver.setScreenArea(Rect(1930, 60, 300, 200));  // a stored custom area
    QVERIFY(app.start());
    QComboBox* list = app.delegate->panelController().window().ui().displaysCombo;
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->itemText(i);
    QCOMPARE(texts, (QStringList{"디스플레이1:W:1920:H:1080(Main)", "디스플레이2:W:1280:H:1024",
                                 "디스플레이3:W:600:H:800", "디스플레이4:W:1920:H:1080",
                                 "모든 디스플레이:W:3800:H:1080"}));
    QCOMPARE(list->currentIndex(), 1);
    QCOMPARE(driver.screenArea(), Rect(1930, 60, 300, 200));
    QCOMPARE(driver.screenManager().targetScreen()->bounds, Rect(1920, 0, 1280, 1024));

    list->setCurrentIndex(4);
    QCOMPARE(driver.displayId(), 4);
    QCOMPARE(driver.screenArea(), Rect(0, 0, 3800, 1080));
    QVERIFY(!driver.screenManager().targetScreen());  // the whole desktop
    for (int expected : {0, 1, 2, 3, 0}) {
      NotificationCenter::defaultCenter().post(kMonitorNotification);
      QTRY_COMPARE(list->currentIndex(), expected);
      QCOMPARE(driver.displayId(), expected);
      QCOMPARE(app.delegate->panelController().window().ui().monitorView->editor().monitorIndex(),
               expected);
    }
    QCOMPARE(driver.screenArea(), Rect(0, 0, 1920, 1080));  // display 1's frame

    // An express key's tip shows on the display selected in the panel; keys
    // past the fifth have none.
    list->setCurrentIndex(1);
    for (int kid : {2, 5}) {
      const Value::Dict info{{"kid", Value(kid)}};
      NotificationCenter::defaultCenter().post(kDownKeyNotification, nullptr, &info);
    }
    QTRY_COMPARE(shownWindows<ShowShoutcut>().size(), 1);
    QCOMPARE(shownWindows<ShowShoutcut>()[0]->screenSize(), QRectF(1920, 0, 1280, 1024));

    // The display numbers: each display's, its lower-left corner in the middle.
    QTest::mouseClick(app.delegate->panelController().window().ui().showMonitorFlagButton,
                      Qt::LeftButton);
    const QList<QScreen*> screens = orderedScreens();
    QStringList numbers;
    for (MonitorFlag* flag : shownWindows<MonitorFlag>()) {
      const int i = flag->flagText().toInt() - 1;
      QCOMPARE(flag->geometry().bottomLeft() + QPoint(0, 1), screens[i]->geometry().center());
      numbers << flag->flagText();
    }
    numbers.sort();
    QCOMPARE(numbers, (QStringList{"1", "2", "3", "4"}));
  }

  // Count, bounds and the main display show in the display list above.
  void displaysTheirFramesMirrorsAndPicturesFollowTheScreens() {
    QtDisplayServices services;
    const std::vector<taviro::Display> displays = services.activeDisplays();
    QCOMPARE(displays.size(), std::size_t(4));
    // Frames are measured upwards from the main display's bottom edge.
    QCOMPARE(displays[1].frame, Rect(1920, 1080 - 1024, 1280, 1024));
    QCOMPARE(displays[2].frame, Rect(3200, 280, 600, 800));
    QCOMPARE(displays[3].mirrorOf, displays[0].id);
    // Pictures: one display, or the desktop for an index past the list.
    QCOMPARE(screenShot(services, 1).size(), QSize(1280, 1024));
    QCOMPARE(screenShot(services, 4).size(), QSize(3800, 1080));
    QCOMPARE(screenShot(services, -1).size(), QSize(3800, 1080));  // unsigned: past the list
  }

  void desktopPictureLeavesMirrorsOutAndFailedCapturesClear() {
    const std::vector<taviro::Display> displays = {
        {1, Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1080), 0},
        {2, Rect(1920, 0, 1920, 1080), Rect(1920, 0, 1920, 1080), 0},
        {3, Rect(-500, 0, 3000, 3000), Rect(-500, 0, 3000, 3000), 1}};  // a mirror
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
    std::unique_ptr<ShowShoutcut> tip(
        ShowShoutcut::showShortcutTip(shortcuts_, key, QGuiApplication::screens()[screen]));
    QVERIFY(tip && tip->isVisible());
    QCOMPARE(tip->pos(), at);
    QCOMPARE(tip->width(), 380);
    QCOMPARE(tip->windowOpacity(), 0.8);
    QVERIFY(tip->windowFlags() & Qt::WindowStaysOnTopHint);
    const auto elements = tip->view()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QCOMPARE(elements.size(), 10);  // a picture and a label per key
    for (QWidget* element : elements) {
      const bool tagged = element->property("tag").toInt() == key;
      QCOMPARE(element->isVisible(), tagged);
      if (auto* text = qobject_cast<QLabel*>(element))
        QCOMPARE(text->text(), tagged ? label : QString());
      else
        QVERIFY(qobject_cast<QSvgWidget*>(element)->renderer()->isValid());
    }
  }

  void tipClosesItselfAfterTwoAndAHalfSeconds() {
    QPointer<ShowShoutcut> tip = ShowShoutcut::showShortcutTip(shortcuts_, 1, nullptr);
    QVERIFY(tip);
    QCOMPARE(tip->screenSize(), QRectF(QGuiApplication::primaryScreen()->geometry()));
    QTest::qWait(ShowShoutcut::kShowMs - 500);
    QVERIFY(tip && tip->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!tip, 5000);
  }

  // Every key with a picture is in the tip table above.
  void keysWithoutAPictureOpenNoTip() {
    for (long kid : {5L, 7L, 15L, -1L}) {
      QVERIFY(!ShowShoutcut::showShortcutTip(shortcuts_, kid, nullptr));
      QVERIFY(expressKeyPicture(kid).isEmpty());
    }
    QVERIFY(shownWindows<ShowShoutcut>().isEmpty());
  }

 private:
  Shortcuts shortcuts_;
};

QTEST_MAIN(PlacementTest)
#include "tst_Placement.moc"
