// The application delegate and the panel controller: the toggle flags, the
// ways the panel closes, activation, the connection display and live pressure
// (reported from the driver thread), and the loading of the controls.
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <thread>

#include "TestApp.h"
#include "app/BTPanelView.h"
#include "ui_Panel.h"
#include "views/OnlyIntegerValueFormatter.h"

using namespace taviro;

constexpr int kSettleMs = BTPanelViewController::kRemoveDelayMs + 200;

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

    ui().segCtrl->setCurrentIndex(0);
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
    QCOMPARE(ui().segCtrl->currentIndex(), 0);
    QCOMPARE(ui().showPressureProgress->value(), 0);
    QTRY_COMPARE(ui().segCtrl->currentIndex(), 3);
    QCOMPARE(ui().statusLabel->text(), label);
    QTRY_COMPARE(ui().showPressureProgress->value(), 42);
    QCOMPARE(ui().cursorLabel->text(), QStringLiteral("Offset 3,-2"));
    // The controls lying on the current page follow the connection.
    for (const char* name :
         {"pressureSlider", "smoothingSlider", "enableMouseButton", "exportSettingsButton"}) {
      QWidget* control = ui().tabView->currentWidget()->findChild<QWidget*>(name);
      QVERIFY2(control && control->isEnabled() == connected, name);
    }
    // So does the page switcher: without a tablet it springs back.
    QTabBar* segments = ui().segCtrl;
    const int pageIndex = ui().tabView->currentIndex();
    QTest::mouseClick(segments, Qt::LeftButton, {}, segments->tabRect(1).center());
    QCOMPARE(ui().tabView->currentIndex(), connected ? 1 : pageIndex);
    QTRY_COMPARE(segments->currentIndex(), connected ? 1 : 3);
    // The status icon follows too: "Status" marks a connected tablet.
    BTStatusItemView& item = delegate().menubarController()->statusItemView();
    QTRY_COMPARE(item.isHighlighted(), connected);
    const QIcon images[] = {statusImage(QStringLiteral("StatusHighlighted")),
                            statusImage(QStringLiteral("Status"))};
    for (int size : {16, 22, 32, 64}) {
      const QImage shown = item.shownImage().pixmap(size).toImage();
      QVERIFY(!images[connected].pixmap(size).isNull());
      QCOMPARE(shown, images[connected].pixmap(size).toImage());
      QVERIFY(shown != images[!connected].pixmap(size).toImage());
    }
  }

 private:
  BTAppDelegate& delegate() { return *app_->delegate; }
  BTPanelViewController& controller() { return delegate().panelController(); }
  BTPanelView& panel() { return controller().window(); }
  Ui::Panel& ui() { return panel().ui(); }
  bool iconActive() { return delegate().menubarController()->hasActiveIcon(); }
  void click() { delegate().menubarController()->statusItemView().mouseDown(Qt::NoModifier); }

  std::unique_ptr<test::TestApp> app_;
};

QTEST_MAIN(PanelTest)
#include "tst_Panel.moc"
