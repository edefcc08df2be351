// The application delegate and the panel controller: the toggle flags, the
// ways the panel closes, activation, the connection display and live pressure
// (reported from the driver thread), and the loading of the controls.
#include <QDesktopServices>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QWheelEvent>
#include <QTest>
#include <thread>

#include "SyntheticPen.h"
#include "TestApp.h"
#include "app/BTPanelView.h"
#include "app/ShortcutSetting.h"
#include "app/ShowShoutcut.h"
#include "ui_ShortcutSetting.h"
#include "shortcuts/InputEmulator.h"
#include "shortcuts/KeyMapInfo.h"
#include "ui_Panel.h"
#include "views/OnlyIntegerValueFormatter.h"

using namespace taviro;

constexpr int kSettleMs = BTPanelViewController::kRemoveDelayMs + 200;

// Stands in for the browser.
class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  QUrl opened;
 public slots:
  void open(const QUrl& url) { opened = url; }
};

class PanelTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { app_ = std::make_unique<test::TestApp>(); }
  void cleanup() { app_.reset(); }

  void firstAutomaticClickOnlyCreatesTheController() {
    QVERIFY(delegate().applicationDidFinishLaunching());
    QVERIFY(!delegate().hasPanelController());
    QTRY_VERIFY(delegate().notFirstShow());
    QVERIFY(delegate().hasPanelController());
    QVERIFY(!iconActive());
    QVERIFY(!controller().hasActivePanel());
    QVERIFY(!controller().isWindowLoaded());
    // An express key's tip shows all the same.
    const Value::Dict info{{"kid", Value(1)}};
    NotificationCenter::defaultCenter().post(kDownKeyNotification, nullptr, &info);
    QTRY_COMPARE(test::shownWindows<ShowShoutcut>().size(), 1);
    QVERIFY(!controller().isWindowLoaded());
  }

  void panelClosedAnyWayOpensOnTheNextClick_data() {
    QTest::addColumn<QString>("how");  // "closeButton": the button of that name
    QTest::addColumn<bool>("atOnce");  // reopened within the close's removal delay
    for (const char* how : {"click", "escape", "close", "closeButton"})
      QTest::newRow(how) << how << false;
    QTest::newRow("click, reopened at once") << "click" << true;
  }

  void panelClosedAnyWayOpensOnTheNextClick() {
    QFETCH(QString, how);
    QFETCH(bool, atOnce);
    QVERIFY(app_->start());
    click();
    QVERIFY(controller().hasActivePanel() && iconActive());
    QVERIFY(app_->driver.showPressure() && ui().monitorView->showScreen());
    QVERIFY(panel().windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(panel().windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(panel().testAttribute(Qt::WA_TranslucentBackground));
    QVERIFY(QTest::qWaitForWindowExposed(&panel()));
    QTRY_COMPARE(panel().size(), QSize(681, 571));

    if (how == QLatin1String("click")) {
      click();
      QVERIFY(panel().isVisible());  // fading out
    } else if (how == QLatin1String("escape")) {
      QTest::keyClick(&panel(), Qt::Key_Escape);
    } else if (how == QLatin1String("close")) {
      panel().close();
    } else {
      QTest::mouseClick(panel().findChild<QPushButton*>(how), Qt::LeftButton);
    }
    QVERIFY(!controller().hasActivePanel() && !iconActive());
    QVERIFY(!app_->driver.showPressure() && !ui().monitorView->showScreen());
    if (!atOnce) QTRY_VERIFY_WITH_TIMEOUT(!panel().isVisible(), kSettleMs);

    click();
    if (atOnce) QTest::qWait(kSettleMs);  // the earlier close must not remove it
    QVERIFY(controller().hasActivePanel());
    QVERIFY(panel().isVisible());
  }

  void activationOpensThePanelWithoutTheFlags() {
    QVERIFY(app_->start());
    delegate().applicationDidBecomeActive();
    QVERIFY(panel().isVisible());
    QVERIFY(!controller().hasActivePanel());
    QVERIFY(!iconActive());
    // The next click sets both flags and opens again; the one after closes.
    click();
    QVERIFY(controller().hasActivePanel());
    QVERIFY(panel().isVisible());
    click();
    QTRY_VERIFY_WITH_TIMEOUT(!panel().isVisible(), kSettleMs);
  }

  // The panel loads its controls from the driver, then follows what the
  // driver thread reports.
  void panelShowsTheDriversStateAndFollowsItsThread_data() {
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("rotation");
    QTest::addColumn<QString>("ticked");
    QTest::newRow("connected") << true << "그래픽 타블렛이 연결되었습니다" << 270
                               << "rotation270CheckBox";
    QTest::newRow("not connected, 45 ticks none")
        << false << "그래픽 타블렛이 연결되지 않았습니다" << 45 << "";
  }

  void panelShowsTheDriversStateAndFollowsItsThread() {
    QFETCH(bool, connected);
    QFETCH(QString, label);
    QFETCH(int, rotation);
    QFETCH(QString, ticked);
    BTDriverManager& driver = app_->driver;
    driver.setPressureDamping(0.7f);
    driver.setSmoothingLevel(6);
    driver.setPressureDeadZone(0.25f);
    driver.setEnableMouse(true);
    driver.setEnableShourtcut(false);
    driver.setTabletRotation(rotation);
    QVERIFY(app_->start());
    click();
    QCOMPARE(ui().pressureSlider->value(), 70);
    QCOMPARE(ui().smoothingSlider->value(), 6);
    QCOMPARE(ui().penPressureDeadZoom->value(), 25);
    QVERIFY(ui().enableMouseButton->isChecked());
    QVERIFY(!ui().enableShortcutButton->isChecked());
    for (const char* box : {"rotation0CheckBox", "rotation90CheckBox", "rotation180CheckBox",
                            "rotation270CheckBox"})
      QCOMPARE(panel().findChild<QAbstractButton*>(box)->isChecked(), ticked == box);
    QVERIFY(controller().iniConfigStatus());
    // One filter guards the four offset fields.
    const QValidator* filter = ui().leftOffsetText->validator();
    QVERIFY(qobject_cast<const OnlyIntegerValueFormatter*>(filter));
    for (QLineEdit* field : {ui().rightOffsetText, ui().upOffsetText, ui().downOffsetText})
      QCOMPARE(field->validator(), filter);

    driver.setCursorOffset({3, -2});
    std::thread driverThread([this, connected] {
      // The tablet came or went, as the driver's device callbacks say it.
      app_->driver.setIsConnected(connected);
      app_->driver.postUpdateNotification();
      const Value::Dict info{{kUpdatePressureKey, Value(42.9)}};
      NotificationCenter::defaultCenter().post(kUpdatePressureNotification, nullptr, &info);
    });
    driverThread.join();
    // Nothing was touched on the posting thread: the work waits for the loop.
    QCOMPARE(ui().cursorLabel->text(), QStringLiteral("Offset 0,0"));
    QCOMPARE(ui().showPressureProgress->value(), 0);
    QTRY_COMPARE(ui().cursorLabel->text(), QStringLiteral("Offset 3,-2"));
    QCOMPARE(ui().statusLabel->text(), label);
    QTRY_COMPARE(ui().showPressureProgress->value(), 42);
    // The controls lying on the current page follow the connection.
    for (const char* name :
         {"pressureSlider", "smoothingSlider", "enableMouseButton", "exportSettingsButton"}) {
      QWidget* control = ui().tabView->currentWidget()->findChild<QWidget*>(name);
      QVERIFY2(control && control->isEnabled() == connected, name);
    }
    // So does the page switcher: without a tablet the page stays and the
    // buttons spring back to it, however they were moved.
    QTabBar* segments = ui().segCtrl;
    QTest::mouseClick(segments, Qt::LeftButton, {}, segments->tabRect(1).center());
    QCOMPARE(ui().tabView->currentIndex(), connected ? 1 : 3);
    QTest::keyClick(segments, Qt::Key_Right);
    QCOMPARE(ui().tabView->currentIndex(), connected ? 2 : 3);
    QWheelEvent wheel(QPointF(10, 10), segments->mapToGlobal(QPointF(10, 10)), {}, {0, -120},
                      Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(segments, &wheel);
    QCOMPARE(ui().tabView->currentIndex(), 3);  // the wheel moved on to the last page
    ui().tabView->setCurrentIndex(0);
    QTRY_COMPARE(segments->currentIndex(), ui().tabView->currentIndex());
    app_->driver.postUpdateNotification();  // the status display keeps them in step
    QTest::qWait(50);
    QCOMPARE(segments->currentIndex(), ui().tabView->currentIndex());
    // The status icon and its tooltip follow too: "Status" marks a connected
    // tablet.
    BTStatusItemView& item = delegate().menubarController()->statusItemView();
    QTRY_COMPARE(item.isHighlighted(), connected);
    QTRY_COMPARE(item.statusItem()->toolTip(), "Taviro: " + label);
    const QIcon images[] = {statusImage(QStringLiteral("StatusHighlighted")),
                            statusImage(QStringLiteral("Status"))};
    for (int size : {16, 22, 32, 64}) {
      const QImage shown = item.shownImage().pixmap(size).toImage();
      QVERIFY(!images[connected].pixmap(size).isNull());
      QCOMPARE(shown, images[connected].pixmap(size).toImage());
      QVERIFY(shown != images[!connected].pixmap(size).toImage());
    }
  }

  // Each control, operated as the user would, reaches the driver.
  void controlsReachTheDriver_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("value");  // a slider's new position; -1: click the control
    QTest::addColumn<QString>("setting");
    QTest::addColumn<double>("expected");
    // The pressure slider stores 1 - its value.
    QTest::newRow("pressure") << "pressureSlider" << 30 << "pressureDamping" << 0.7;
    QTest::newRow("smoothing") << "smoothingSlider" << 7 << "smoothingLevel" << 7.0;
    QTest::newRow("dead zone") << "penPressureDeadZoom" << 20 << "pressureDeadZone" << 0.2;
    QTest::newRow("mouse mode") << "enableMouseButton" << -1 << "enableMouse" << 1.0;
    QTest::newRow("shortcuts off") << "enableShortcutButton" << -1 << "enableShourtcut" << 0.0;
    QTest::newRow("rotation 0") << "rotation0CheckBox" << -1 << "tabletRotation" << 0.0;
    QTest::newRow("cursor up") << "cursorUpButton" << -1 << "cursorY" << -3.0;
    QTest::newRow("cursor reset") << "cursorResetButton" << -1 << "cursorX" << 0.0;
  }

  void controlsReachTheDriver() {
    QFETCH(QString, control);
    QFETCH(int, value);
    QFETCH(QString, setting);
    QFETCH(double, expected);
    BTDriverManager& driver = app_->driver;
    driver.setTabletRotation(180);
    driver.setCursorOffset({3, -2});
    openConnected();
    QWidget* widget = panel().findChild<QWidget*>(control);
    QVERIFY(widget && widget->isEnabled());
    if (value < 0) {
      clickOn(widget);
    } else {
      qobject_cast<QSlider*>(widget)->setValue(value);
    }
    const std::map<QString, double> settings{
        {"pressureDamping", driver.pressureDamping()},
        {"smoothingLevel", driver.smoothingLevel()},
        {"pressureDeadZone", driver.pressureDeadZone()},
        {"enableMouse", driver.enableMouse()},
        {"enableShourtcut", driver.enableShourtcut()},
        {"tabletRotation", driver.tabletRotation()},
        {"cursorX", driver.cursorOffset().x},
        {"cursorY", driver.cursorOffset().y}};
    QCOMPARE(float(settings.at(setting)), float(expected));
  }

  // The arrow keys nudge the cursor offset one step per press, even after a
  // button took a click; any other key repeats the last arrow's move, and a
  // held key repeats it every 0.3 s.
  void arrowKeysMoveTheCursorOffset() {
    openConnected();
    QTest::mouseClick(ui().cursorResetButton, Qt::LeftButton);
    QWindow* window = panel().windowHandle();
    for (int i = 0; i < 3; ++i) QTest::keyClick(window, Qt::Key_Right);
    QTest::keyClick(window, Qt::Key_Up);
    QTest::keyClick(window, Qt::Key_A);
    QTest::keyClick(window, Qt::Key_Shift);  // a modifier alone does nothing
    QCOMPARE(app_->driver.cursorOffset(), (Point{3, -2}));
    QTRY_COMPARE(ui().cursorLabel->text(), QStringLiteral("Offset 3,-2"));
    QCOMPARE(controller().cursorMoveAction(), 1);

    QTest::keyPress(window, Qt::Key_Left);
    QTRY_VERIFY(app_->driver.cursorOffset().x <= 1);  // the press, then the timer
    QTest::keyRelease(window, Qt::Key_Left);
    const Point held = app_->driver.cursorOffset();
    QTest::qWait(2 * BTPanelViewController::kCursorRepeatMs);
    QCOMPARE(app_->driver.cursorOffset(), held);
  }

  // Without a tray, or where a window cannot place itself (Wayland), the
  // panel is an ordinary window of fixed size with an icon and no see-through
  // margins or arrow; Escape and the close button put it away.
  void ordinaryWindowWithoutTrayOrPlacement_data() {
    QTest::addColumn<bool>("tray");
    QTest::newRow("no tray") << false;
    QTest::newRow("tray, windows cannot place themselves") << true;
  }

  void ordinaryWindowWithoutTrayOrPlacement() {
    QFETCH(bool, tray);
    app_ = std::make_unique<test::TestApp>(tray, false);
    QVERIFY(app_->start());
    const auto open = [&] { tray ? click() : delegate().applicationDidBecomeActive(); };
    if (tray) open();  // without a tray it opens by itself
    QTRY_VERIFY(controller().isWindowLoaded() && panel().isVisible());
    QVERIFY(!(panel().windowFlags() & (Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)));
    QVERIFY(!panel().testAttribute(Qt::WA_TranslucentBackground));
    QCOMPARE(panel().minimumSize(), QSize(681, 571));
    QCOMPARE(panel().maximumSize(), QSize(681, 571));
    QVERIFY(!panel().windowIcon().isNull());
    QVERIFY(ui().backgroundView->isFramed());
    QTest::keyClick(&panel(), Qt::Key_Escape);
    QVERIFY(!panel().isVisible());
    open();
    QVERIFY(panel().isVisible());
    panel().close();
    QVERIFY(!panel().isVisible());
    QVERIFY(!controller().hasActivePanel());
  }

  // The tray menu opens the panel from the start, before any click.
  void trayMenuFirstEntryOpensThePanel() {
    QVERIFY(app_->start());
    QMenu* menu = delegate().menubarController()->statusItem()->contextMenu();
    QVERIFY(menu);
    QAction* first = menu->actions().constFirst();
    QCOMPARE(first->text(), QStringLiteral("설정 열기"));
    first->trigger();
    QVERIFY(controller().hasActivePanel() && panel().isVisible());
    first->trigger();  // already open: it stays
    QVERIFY(controller().hasActivePanel() && panel().isVisible());
  }

  // The express-key page shows each key's picture and shortcut, opens an
  // editor per click and follows what the editor applies.
  void expressKeyPageShowsAndEditsTheShortcuts() {
    openConnected();
    const auto label = [this](int key) {
      return QString::fromStdString(
          KeyMapInfo::shortkeyToChina(app_->shortcuts.readShortcutForCmd(key)));
    };
    QCOMPARE(ui().penUpButton->text(), label(6));
    QCOMPARE(ui().penDownButton->text(), label(5));
    QCOMPARE(ui().showTabletShortcutButton->text(), label(0));
    QTest::mouseClick(ui().shortcutHoverButtonForTag3, Qt::LeftButton);
    QCOMPARE(ui().showTabletShortcutButton->property("tag").toInt(), 3);
    QCOMPARE(ui().showTabletShortcutButton->text(), label(3));
    const QImage key3 = ui().shortcutBgImageView->pixmap().toImage();
    QVERIFY(!key3.isNull());
    QTest::mouseClick(ui().shortcutHoverButtonForTag2, Qt::LeftButton);
    QVERIFY(ui().shortcutBgImageView->pixmap().toImage() != key3);
    controller().setTabletShortcut(7);  // no picture, the store's label
    QVERIFY(ui().shortcutBgImageView->pixmap().isNull());
    QCOMPARE(ui().showTabletShortcutButton->text(), label(7));

    // Every click opens one more editor, for the button's key.
    for (int i = 0; i < 2; ++i) QTest::mouseClick(ui().penUpButton, Qt::LeftButton);
    const QList<ShortcutSetting*> editors = test::shownWindows<ShortcutSetting>();
    QCOMPARE(editors.size(), 2);
    QCOMPARE(editors[0]->keyId(), 6);
    clickOn(editors[0]->ui().enableMouseEvent);  // all parts off
    QTest::mouseClick(editors[0]->ui().applyButton, Qt::LeftButton);
    QTRY_COMPARE(ui().penUpButton->text(), QStringLiteral("정의되지 않음"));
    editors[1]->close();
  }

  // The pad keeps its strokes until 지우기 or the next showing of the panel.
  void testPadIsWipedByClearAndByEachShowing() {
    openConnected();
    ui().tabView->setCurrentIndex(2);
    QWidget* pad = ui().testPadView;
    const QImage blank = pad->grab().toImage();
    const auto stroke = [pad] { test::sendPenStroke(pad, {20, 20}, {120, 60}, 3, 1, 1); };
    stroke();
    QVERIFY(pad->grab().toImage() != blank);
    QTest::mouseClick(ui().clearTestPadButton, Qt::LeftButton);
    QCOMPARE(pad->grab().toImage(), blank);
    stroke();
    click();
    click();
    QCOMPARE(pad->grab().toImage(), blank);
  }

  // Export, reset, import: the exported values are back in the driver, in the
  // controls, in the mapping editor and in the saved settings.
  void exportThenImportRestoresTheSettings() {
    openConnected();
    ui().tabView->setCurrentIndex(0);
    ui().smoothingSlider->setValue(8);
    ui().pressureSlider->setValue(30);
    clickOn(ui().rotation90CheckBox);
    clickOn(ui().enableMouseButton);
    QTest::mouseClick(ui().cursorRightButton, Qt::LeftButton);
    const QList<QLineEdit*> fields{ui().leftOffsetText, ui().upOffsetText, ui().rightOffsetText,
                                   ui().downOffsetText};
    const QStringList typed{"0.20", "0.30", "0.60", "0.90"};
    for (int i = 0; i < 4; ++i) fields[i]->setText(typed[i]);
    QTest::mouseClick(ui().adjustTabletOffsetButton, Qt::LeftButton);
    const Rect custom(13107, 6553, 26214, 39321);
    QTRY_COMPARE(app_->driver.tabletArea(), custom);
    // 확인 saves the settings and closes the panel.
    QTest::mouseClick(ui().applyButton, Qt::LeftButton);
    QCOMPARE(app_->storage.domain().at(DriverKeys::smoothing).intValue(), 8);
    QVERIFY(!controller().hasActivePanel());
    click();
    const QString file = app_->dir.filePath(QStringLiteral("exported.plist"));
    QTest::mouseClick(ui().exportSettingsButton, Qt::LeftButton);
    chooseFile(file);
    QCOMPARE(answerAlert(QStringLiteral("확인")), QStringLiteral("내보내기를 성공하였습니다!"));
    QVERIFY(QFile::exists(file));

    QTest::mouseClick(ui().defaultSettingsButton, Qt::LeftButton);
    answerAlert(QStringLiteral("예"));
    QCOMPARE(app_->driver.smoothingLevel(), 4);
    QCOMPARE(ui().smoothingSlider->value(), 4);
    QVERIFY(!app_->storage.domain().contains(DriverKeys::smoothing));
    QTRY_COMPARE(app_->driver.tabletArea(), Rect(0, 0, 65535, 65535));

    QTest::mouseClick(ui().importSettingsButton, Qt::LeftButton);
    chooseFile(file);
    QCOMPARE(answerAlert(QStringLiteral("예")),
             QStringLiteral("저장하지 않은 데이터는 모두 삭제됩니다!\n설정을 불러올까요?"));
    BTDriverManager& driver = app_->driver;
    QCOMPARE(driver.smoothingLevel(), 8);
    QCOMPARE(driver.pressureDamping(), 0.7f);
    QCOMPARE(driver.tabletRotation(), 90);
    QVERIFY(driver.enableMouse());
    QCOMPARE(driver.cursorOffset(), (Point{1, 0}));
    QCOMPARE(ui().smoothingSlider->value(), 8);
    QCOMPARE(ui().pressureSlider->value(), 70);  // loaded with the damping itself
    QVERIFY(ui().rotation90CheckBox->isChecked() && ui().enableMouseButton->isChecked());
    // The custom tablet area, not the whole tablet the rotation would map.
    QTRY_COMPARE(app_->driver.tabletMapping(), custom);
    QCOMPARE(app_->driver.tabletArea(), custom);
    for (int i = 0; i < 4; ++i) QCOMPARE(fields[i]->text(), typed[i]);
    // Saved at once: quitting before 확인 keeps them.
    const Value::Dict saved = app_->storage.domain();
    QCOMPARE(saved.at(DriverKeys::smoothing).intValue(), 8);
    QCOMPARE(saved.at(DriverKeys::rotation).intValue(), 90);
    // A rotation picked afterwards maps the whole tablet.
    clickOn(ui().rotation180CheckBox);
    QTRY_COMPARE(driver.tabletMapping(), Rect(0, 0, 65535, 65535));
  }

  // "아니오", a file that is not a settings file and a failed export change
  // nothing and keep nothing quiet.
  void settingsFilesThatCannotApplyChangeNothing_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("content");  // of the chosen file
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("alert");  // the second alert's text; empty: none
    const QByteArray plist =
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>"
        "com.pelmora.nivoltDriver.smoothingKey</key><integer>1</integer></dict></plist>";
    QTest::newRow("import, no") << "importSettingsButton" << plist << "아니오" << "";
    QTest::newRow("reset, no") << "defaultSettingsButton" << QByteArray() << "아니오" << "";
    QTest::newRow("import of text")
        << "importSettingsButton" << QByteArray("smoothing = 1\n") << "예" << "설정을 불러오지 못했습니다!";
    QTest::newRow("import of a list")
        << "importSettingsButton"
        << QByteArray("<?xml version=\"1.0\"?><plist version=\"1.0\"><array/></plist>") << "예"
        << "설정을 불러오지 못했습니다!";
    QTest::newRow("export into a file") << "exportSettingsButton" << QByteArray("x") << ""
                                        << "내보내기를 실패하였습니다!";
  }

  void settingsFilesThatCannotApplyChangeNothing() {
    QFETCH(QString, button);
    QFETCH(QByteArray, content);
    QFETCH(QString, answer);
    QFETCH(QString, alert);
    openConnected();
    ui().smoothingSlider->setValue(9);
    app_->driver.saveSettings();
    const Value::Dict saved = app_->storage.domain();
    const int saves = app_->storage.saves;
    QFile file(app_->dir.filePath(QStringLiteral("chosen.plist")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    QTest::mouseClick(panel().findChild<QPushButton*>(button), Qt::LeftButton);
    if (button == QLatin1String("importSettingsButton")) chooseFile(file.fileName());
    // Exported into a path under a file: the folder cannot be made.
    if (button == QLatin1String("exportSettingsButton")) chooseFile(file.fileName() + "/x.plist");
    if (!answer.isEmpty()) answerAlert(answer);
    if (!alert.isEmpty()) QCOMPARE(answerAlert(QStringLiteral("확인")), alert);
    QCOMPARE(app_->driver.smoothingLevel(), 9);
    QCOMPARE(ui().smoothingSlider->value(), 9);
    QCOMPARE(app_->storage.domain(), saved);
    QCOMPARE(int(app_->storage.saves), saves);
  }

  // The area buttons do what their labels say, the other one going off; the
  // rotation boxes and 전체 화면 reach the editor too.
  void mappingButtonsDriveTheEditor() {
    app_->driver.setScreenArea(Rect(0, 0, 200, 100));  // a custom screen area
    openConnected();
    ui().tabView->setCurrentIndex(0);
    const Rect whole(0, 0, 65535, 65535);
    QTRY_COMPARE(app_->driver.screenArea(), Rect(0, 0, 200, 100));  // kept on loading
    // One display: one item, and the express keys' display switch stays.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(ui().displaysCombo->count(), 1);
    QCOMPARE(ui().displaysCombo->itemText(0),
             QString::asprintf("디스플레이1:W:%d:H:%d(Main)", screen.width(), screen.height()));
    NotificationCenter::defaultCenter().post(kMonitorNotification);
    ui().applyFullTabletButton->setChecked(true);
    QTest::mouseClick(ui().applyForceTabletButton, Qt::LeftButton);  // 비율 유지
    QTRY_VERIFY(app_->driver.tabletMapping() != whole);
    QVERIFY(!ui().applyFullTabletButton->isChecked());
    QTest::mouseClick(ui().applyFullTabletButton, Qt::LeftButton);  // 전체 영역
    QTRY_COMPARE(app_->driver.tabletMapping(), whole);
    QVERIFY(!ui().applyForceTabletButton->isChecked());
    QCOMPARE(ui().displaysCombo->currentIndex(), 0);
    QTest::mouseClick(ui().resetFullScreenButton, Qt::LeftButton);
    QTRY_COMPARE(app_->driver.screenArea(), Rect(0, 0, screen.width(), screen.height()));
    clickOn(ui().rotation270CheckBox);
    QCOMPARE(ui().monitorView->editor().rotationIndex(), 3);
    QCOMPARE(app_->driver.tabletRotation(), 270);
  }

  // 속도 향상 asks for administrator's rights through pkexec to renice Taviro;
  // "Nivolt" opens the maker's page.
  void maintenanceButtonsRunWhatTheySay() {
    const QString bin = app_->dir.filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));
    QFile pkexec(bin + "/pkexec");
    QVERIFY(pkexec.open(QIODevice::WriteOnly));
    pkexec.write("#!/bin/sh\nprintf '%s ' \"$@\" > \"$0.args.tmp\"; mv \"$0.args.tmp\" \"$0.args\"\n");
    pkexec.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    pkexec.close();
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.toLocal8Bit() + ":" + path);
    openConnected();
    QTest::mouseClick(ui().improveSpeedButton, Qt::LeftButton);
    qputenv("PATH", path);
    QTRY_VERIFY(QFile::exists(bin + "/pkexec.args"));
    QFile args(bin + "/pkexec.args");
    QVERIFY(args.open(QIODevice::ReadOnly));
    QCOMPARE(args.readAll(),
             "/usr/bin/renice -20 -p " + QByteArray::number(QCoreApplication::applicationPid()) + " ");

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    QTest::mouseClick(ui().morvelButton, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QVERIFY(catcher.opened.isValid() && !catcher.opened.host().isEmpty());
    QVERIFY(!ui().githubLinkButton->isVisible());  // no address in this build
  }
 private:
  BTAppDelegate& delegate() { return *app_->delegate; }
  BTPanelViewController& controller() { return delegate().panelController(); }
  BTPanelView& panel() { return controller().window(); }
  Ui::Panel& ui() { return panel().ui(); }
  bool iconActive() { return delegate().menubarController()->hasActiveIcon(); }
  void click() { delegate().menubarController()->statusItemView().mouseDown(Qt::NoModifier); }
  // Clicks near the left edge, where a check box has its box.
  static void clickOn(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(8, widget->height() / 2));
  }
  void openConnected() {
    app_->driver.setIsConnected(true);
    QVERIFY(app_->start());
    click();
    QVERIFY(QTest::qWaitForWindowExposed(&panel()));
    QTRY_VERIFY(ui().pressureSlider->isEnabled());
  }
  // Chooses `path` in the file dialog the panel opened.
  void chooseFile(const QString& path) {
    QFileDialog* dialog = nullptr;
    QTRY_VERIFY((dialog = panel().findChild<QFileDialog*>()) && dialog->isVisible());
    dialog->selectFile(path);
    static_cast<QDialog*>(dialog)->accept();
  }
  // Clicks `button` in the alert the panel shows; its text.
  QString answerAlert(const QString& button) {
    QMessageBox* box = nullptr;
    [&] { QTRY_VERIFY((box = panel().findChild<QMessageBox*>()) && box->isVisible()); }();
    if (!box) return {};
    const QString text = box->text();
    for (QAbstractButton* b : box->buttons())
      if (b->text() == button) QTest::mouseClick(b, Qt::LeftButton);
    const QPointer<QMessageBox> answered = box;
    [&] { QTRY_VERIFY(!answered); }();
    return text;
  }

  std::unique_ptr<test::TestApp> app_;
};

QTEST_MAIN(PanelTest)
#include "tst_Panel.moc"
