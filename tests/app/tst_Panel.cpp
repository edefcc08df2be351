// The application delegate and the panel controller: the toggle flags, the
// ways the panel closes, activation, the connection display, live pressure
// and the loading of the controls.
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>
#include <thread>

#include "TestDriver.h"
#include "app/BTAppDelegate.h"
#include "app/BTPanelView.h"
#include "ui_Panel.h"
#include "views/OnlyIntegerValueFormatter.h"

using namespace taviro;

namespace {

constexpr int kSettleMs = BTPanelViewController::kRemoveDelayMs + 200;

}  // namespace

class PanelTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();

  void panelHasEveryOutletAndItsTexts();
  void firstAutomaticClickOnlyCreatesTheController();
  void clicksOpenAndCloseThePanel();
  void panelClosedByItselfOpensOnTheNextClick_data();
  void panelClosedByItselfOpensOnTheNextClick();
  void activationOpensThePanelWithoutTheFlags();
  void quickReopenIsNotRemovedByTheEarlierClose();
  void panelWindowFloatsFramelessAndSeeThrough();
  void connectionDisplayFollowsTheDriver_data();
  void connectionDisplayFollowsTheDriver();
  void segmentClicksChangePagesOnlyWhenConnected();
  void notificationsFromTheDriverThreadAreHandledOnTheMainThread();
  void initConfigLoadsTheControls_data();
  void initConfigLoadsTheControls();

 private:
  Ui::Panel& ui() { return delegate_->panelController().window().ui(); }
  BTPanelView& panel() { return delegate_->panelController().window(); }
  void startAndSettle();
  void click() { delegate_->menubarController()->statusItemView().mouseDown(Qt::NoModifier); }

  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<test::TestDriver> driver_;
  std::unique_ptr<BTAppDelegate> delegate_;
};

void PanelTest::init() {
  dir_ = std::make_unique<QTemporaryDir>();
  driver_ = std::make_unique<test::TestDriver>();
  BTAppDelegate::Options options;
  options.instanceName =
      QStringLiteral("taviro-test-") + QUuid::createUuid().toString(QUuid::Id128);
  options.autostartDir = dir_->path();
  options.startletExecutable = dir_->filePath(QStringLiteral("missing"));
  options.trayAvailable = true;
  options.createDriver = [this]() -> BTDriverManager& { return *driver_->driver; };
  delegate_ = std::make_unique<BTAppDelegate>(std::move(options));
}

void PanelTest::cleanup() {
  delegate_.reset();
  driver_.reset();
  dir_.reset();
}

void PanelTest::startAndSettle() {
  QVERIFY(delegate_->applicationDidFinishLaunching());
  QTRY_VERIFY(delegate_->notFirstShow());
}

void PanelTest::panelHasEveryOutletAndItsTexts() {
  startAndSettle();
  click();
  // Handlers find their controls by these names.
  const char* outlets[] = {"backgroundView",
                           "monitorView",
                           "testPadView",
                           "statusLabel",
                           "cursorLabel",
                           "versionInfoButton",
                           "leftOffsetText",
                           "rightOffsetText",
                           "upOffsetText",
                           "downOffsetText",
                           "displaysCombo",
                           "pressureSlider",
                           "smoothingSlider",
                           "penPressureDeadZoom",
                           "rotation0CheckBox",
                           "rotation90CheckBox",
                           "rotation180CheckBox",
                           "rotation270CheckBox",
                           "enableMouseButton",
                           "enableShortcutButton",
                           "applyFullTabletButton",
                           "applyForceTabletButton",
                           "penUpButton",
                           "penDownButton",
                           "showTabletShortcutButton",
                           "shortcutSettingsButtonForTag0",
                           "shortcutBgImageView",
                           "showPressureProgress",
                           "refreshButton",
                           "morvelButton",
                           "githubLinkButton",
                           "tabView",
                           "segCtrl"};
  for (const char* name : outlets) QVERIFY2(panel().findChild<QWidget*>(QLatin1String(name)), name);
  QCOMPARE(ui().versionInfoButton->text(),
           QStringLiteral("버전:") + QCoreApplication::applicationVersion());
  QCOMPARE(ui().segCtrl->count(), ui().tabView->count());
  for (BTCustomCursorButton* link :
       {ui().morvelButton, ui().githubLinkButton, ui().refreshButton}) {
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
  }
  // One filter guards the four offset fields.
  const QValidator* filter = ui().leftOffsetText->validator();
  QVERIFY(qobject_cast<const OnlyIntegerValueFormatter*>(filter));
  for (QLineEdit* field : {ui().rightOffsetText, ui().upOffsetText, ui().downOffsetText}) {
    QCOMPARE(field->validator(), filter);
  }
}

void PanelTest::firstAutomaticClickOnlyCreatesTheController() {
  QVERIFY(delegate_->applicationDidFinishLaunching());
  QVERIFY(!delegate_->hasPanelController());
  QTRY_VERIFY(delegate_->notFirstShow());
  QVERIFY(delegate_->hasPanelController());
  QVERIFY(!delegate_->menubarController()->hasActiveIcon());
  QVERIFY(!delegate_->panelController().hasActivePanel());
  QVERIFY(!delegate_->panelController().isWindowLoaded());
}

void PanelTest::clicksOpenAndCloseThePanel() {
  startAndSettle();
  click();
  QVERIFY(delegate_->panelController().hasActivePanel());
  QVERIFY(delegate_->menubarController()->hasActiveIcon());
  QVERIFY(panel().isVisible());
  QVERIFY(driver_->driver->showPressure());
  QVERIFY(ui().monitorView->showScreen());

  click();
  QVERIFY(!delegate_->panelController().hasActivePanel());
  QVERIFY(!delegate_->menubarController()->hasActiveIcon());
  QVERIFY(!driver_->driver->showPressure());
  QVERIFY(!ui().monitorView->showScreen());
  QVERIFY(panel().isVisible());  // fading out
  QTRY_VERIFY_WITH_TIMEOUT(!panel().isVisible(), kSettleMs);
}

void PanelTest::panelClosedByItselfOpensOnTheNextClick_data() {
  QTest::addColumn<QString>("how");
  QTest::newRow("escape") << "escape";
  QTest::newRow("close") << "close";
  QTest::newRow("close button") << "closeButton";
}

void PanelTest::panelClosedByItselfOpensOnTheNextClick() {
  QFETCH(QString, how);
  startAndSettle();
  click();
  QVERIFY(QTest::qWaitForWindowExposed(&panel()));
  if (how == QLatin1String("escape")) {
    QTest::keyClick(&panel(), Qt::Key_Escape);
  } else if (how == QLatin1String("close")) {
    panel().close();
  } else {
    QTest::mouseClick(panel().findChild<QPushButton*>(how), Qt::LeftButton);
  }
  QVERIFY(!delegate_->panelController().hasActivePanel());
  QVERIFY(!delegate_->menubarController()->hasActiveIcon());
  QTRY_VERIFY_WITH_TIMEOUT(!panel().isVisible(), kSettleMs);

  click();
  QVERIFY(delegate_->panelController().hasActivePanel());
  QVERIFY(panel().isVisible());
}

void PanelTest::activationOpensThePanelWithoutTheFlags() {
  startAndSettle();
  delegate_->applicationDidBecomeActive();
  QVERIFY(panel().isVisible());
  QVERIFY(!delegate_->panelController().hasActivePanel());
  QVERIFY(!delegate_->menubarController()->hasActiveIcon());
  // The next click sets both flags and opens again; the one after closes.
  click();
  QVERIFY(delegate_->panelController().hasActivePanel());
  QVERIFY(panel().isVisible());
  click();
  QTRY_VERIFY_WITH_TIMEOUT(!panel().isVisible(), kSettleMs);
}

void PanelTest::quickReopenIsNotRemovedByTheEarlierClose() {
  startAndSettle();
  click();
  click();
  click();  // within the close's removal delay
  QTest::qWait(kSettleMs);
  QVERIFY(panel().isVisible());
  QVERIFY(delegate_->panelController().hasActivePanel());
}

void PanelTest::panelWindowFloatsFramelessAndSeeThrough() {
  startAndSettle();
  click();
  const Qt::WindowFlags flags = panel().windowFlags();
  QVERIFY(flags & Qt::FramelessWindowHint);
  QVERIFY(flags & Qt::WindowStaysOnTopHint);
  QVERIFY(panel().testAttribute(Qt::WA_TranslucentBackground));
  QTRY_COMPARE(panel().size(), QSize(681, 571));
}

void PanelTest::connectionDisplayFollowsTheDriver_data() {
  QTest::addColumn<bool>("connected");
  QTest::addColumn<QString>("label");
  QTest::newRow("connected") << true << QStringLiteral("그래픽 타블렛이 연결되었습니다");
  QTest::newRow("not connected") << false << QStringLiteral("그래픽 타블렛이 연결되지 않았습니다");
}

void PanelTest::connectionDisplayFollowsTheDriver() {
  QFETCH(bool, connected);
  QFETCH(QString, label);
  startAndSettle();
  click();
  ui().segCtrl->setCurrentIndex(0);
  driver_->driver->setCursorOffset({3, -2});
  driver_->setConnected(connected);
  QTRY_COMPARE(ui().segCtrl->currentIndex(), 3);
  QCOMPARE(ui().statusLabel->text(), label);
  QCOMPARE(ui().cursorLabel->text(), QStringLiteral("Offset 3,-2"));
  // The controls lying on the current page follow the connection.
  QWidget* page = ui().tabView->currentWidget();
  for (const char* name :
       {"pressureSlider", "smoothingSlider", "enableMouseButton", "exportSettingsButton"}) {
    QWidget* control = page->findChild<QWidget*>(QLatin1String(name));
    QVERIFY2(control, name);
    QCOMPARE(control->isEnabled(), connected);
  }
  // The status icon follows too: "Status" marks a connected tablet.
  BTStatusItemView& item = delegate_->menubarController()->statusItemView();
  QTRY_COMPARE(item.isHighlighted(), connected);
  const QIcon expected =
      statusImage(connected ? QStringLiteral("Status") : QStringLiteral("StatusHighlighted"));
  const QIcon other =
      statusImage(connected ? QStringLiteral("StatusHighlighted") : QStringLiteral("Status"));
  for (int size : {16, 22, 32, 64}) {
    QVERIFY(!expected.pixmap(size).isNull());
    QCOMPARE(item.shownImage().pixmap(size).toImage(), expected.pixmap(size).toImage());
    QVERIFY(item.shownImage().pixmap(size).toImage() != other.pixmap(size).toImage());
  }
}

void PanelTest::segmentClicksChangePagesOnlyWhenConnected() {
  startAndSettle();
  click();
  driver_->setConnected(false);
  QTRY_VERIFY(!ui().pressureSlider->isEnabled());
  const int page = ui().tabView->currentIndex();
  QTabBar* segments = ui().segCtrl;
  QTest::mouseClick(segments, Qt::LeftButton, {}, segments->tabRect(0).center());
  QCOMPARE(ui().tabView->currentIndex(), page);
  QTRY_COMPARE(segments->currentIndex(), 3);

  driver_->setConnected(true);
  QTRY_VERIFY(ui().pressureSlider->isEnabled());
  QTest::mouseClick(segments, Qt::LeftButton, {}, segments->tabRect(1).center());
  QCOMPARE(ui().tabView->currentIndex(), 1);
}

void PanelTest::notificationsFromTheDriverThreadAreHandledOnTheMainThread() {
  startAndSettle();
  click();
  const QString before = ui().statusLabel->text();
  std::thread driverThread([this] {
    driver_->setConnected(true);
    const Value::Dict info{{kUpdatePressureKey, Value(42.9)}};
    NotificationCenter::defaultCenter().post(kUpdatePressureNotification, nullptr, &info);
  });
  driverThread.join();
  // Nothing was touched on the posting thread: the work waits for the loop.
  QCOMPARE(ui().statusLabel->text(), before);
  QCOMPARE(ui().showPressureProgress->value(), 0);
  QTRY_COMPARE(ui().statusLabel->text(), QStringLiteral("그래픽 타블렛이 연결되었습니다"));
  QTRY_COMPARE(ui().showPressureProgress->value(), 42);
}

void PanelTest::initConfigLoadsTheControls_data() {
  QTest::addColumn<int>("rotation");
  QTest::addColumn<QString>("ticked");
  QTest::newRow("0") << 0 << "rotation0CheckBox";
  QTest::newRow("90") << 90 << "rotation90CheckBox";
  QTest::newRow("270") << 270 << "rotation270CheckBox";
  QTest::newRow("45 ticks none") << 45 << "";
}

void PanelTest::initConfigLoadsTheControls() {
  QFETCH(int, rotation);
  QFETCH(QString, ticked);
  BTDriverManager& driver = *driver_->driver;
  driver.setPressureDamping(0.7f);
  driver.setSmoothingLevel(6);
  driver.setPressureDeadZone(0.25f);
  driver.setEnableMouse(true);
  driver.setEnableShourtcut(false);
  driver.setTabletRotation(rotation);
  startAndSettle();
  click();
  QCOMPARE(ui().pressureSlider->value(), 70);
  QCOMPARE(ui().smoothingSlider->value(), 6);
  QCOMPARE(ui().penPressureDeadZoom->value(), 25);
  QVERIFY(ui().enableMouseButton->isChecked());
  QVERIFY(!ui().enableShortcutButton->isChecked());
  for (const char* box :
       {"rotation0CheckBox", "rotation90CheckBox", "rotation180CheckBox", "rotation270CheckBox"}) {
    QCOMPARE(panel().findChild<QAbstractButton*>(QLatin1String(box))->isChecked(),
             ticked == QLatin1String(box));
  }
  QVERIFY(ui().shortcutSettingsButtonForTag0->hover());
  QVERIFY(delegate_->panelController().iniConfigStatus());
  QCOMPARE(ui().monitorView->tabletSettings(), &driver.tabletSettings());
}

QTEST_MAIN(PanelTest)
#include "tst_Panel.moc"
