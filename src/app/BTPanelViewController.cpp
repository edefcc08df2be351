#include "app/BTPanelViewController.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QScreen>
#include <QSequentialAnimationGroup>

#include "app/AppPlatform.h"
#include "app/BTPanelView.h"
#include "app/BTStatusItemView.h"
#include "app/PanelControls.h"
#include "app/PanelGeometry.h"
#include "app/ShortcutSetting.h"
#include "display/ScreenGeometry.h"
#include "driver/BTDriverManager.h"
#include "foundation/Log.h"
#include "platform/qt/QtDisplayServices.h"
#include "privileged/PrivilegedExecutor.h"
#include "shortcuts/InputEmulator.h"
#include "ui_Panel.h"
#include "views/OnlyIntegerValueFormatter.h"

namespace taviro {
namespace {

QString rectText(const QRect& r) {
  return QStringLiteral("{{%1, %2}, {%3, %4}}")
      .arg(r.x())
      .arg(r.y())
      .arg(r.width())
      .arg(r.height());
}

// The duration of the open animation for the click being handled, logging
// the geometry when Shift and Option (Alt) are held together.
int openDuration(const QRect& status, const QRect& display, const QRect& panel) {
  const std::optional<Qt::KeyboardModifiers> click = BTStatusItemView::currentClickModifiers();
  if (!click) return BTPanelViewController::kOpenDurationMs;
  const Qt::KeyboardModifiers mods =
      *click & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  if ((mods & ~Qt::AltModifier) != Qt::ShiftModifier) return BTPanelViewController::kOpenDurationMs;
  if (mods == (Qt::ShiftModifier | Qt::AltModifier)) {
    logBare("Icon is at %s\n\tMenu is on screen %s\n\tWill be animated to %s",
            qPrintable(rectText(status)), qPrintable(rectText(display)),
            qPrintable(rectText(panel)));
  }
  return BTPanelViewController::kSlowOpenDurationMs;
}

// `key`'s number in the notification's user information, a fraction cut off;
// `absent` without one.
int intInfo(const Notification& n, const char* key, int absent) {
  if (!n.userInfo) return absent;
  const auto it = n.userInfo->find(key);
  return it == n.userInfo->end() ? absent : static_cast<int>(it->second.doubleValue());
}

}  // namespace

BTPanelViewController::BTPanelViewController(PanelControllerDelegate* delegate,
                                             BTDriverManager& driver, Configure& shortcuts,
                                             bool floating, QObject* parent)
    : QObject(parent),
      delegate_(delegate),
      driver_(driver),
      shortcuts_(shortcuts),
      floating_(floating),
      privilegedExecutor_(systemPrivilegedExecutor()) {
  removeTimer_.setSingleShot(true);
  removeTimer_.setInterval(kRemoveDelayMs);
  connect(&removeTimer_, &QTimer::timeout, this, [this] {
    if (window_) window_->hide();
  });
  observeNotifications();
}

BTPanelViewController::~BTPanelViewController() {
  for (NotificationCenter::Token token : observers_) {
    NotificationCenter::defaultCenter().removeObserver(token);
  }
}

void BTPanelViewController::observeNotifications() {
  // They may arrive on other threads (the driver's, for one): each only
  // queues its work to this one.
  const auto queue = [this](std::function<void()> work) {
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
  };
  const auto observe = [this](std::string_view name, NotificationCenter::Observer observer) {
    observers_.push_back(
        NotificationCenter::defaultCenter().addObserver(std::string(name), std::move(observer)));
  };
  observe(kDriverDidChangeStatusNotification,
          [this](const Notification&) { didChangeDriverStatus(); });
  observe(kUpdatePressureNotification, [this, queue](const Notification& n) {
    queue([this, value = intInfo(n, kUpdatePressureKey, 0)] { showPressure(value); });
  });
  observe(kMonitorNotification,
          [this, queue](const Notification&) { queue([this] { didChangeMonitor(); }); });
  observe(kUpdateSettingsNotification, [this, queue](const Notification&) {
    queue([this] {
      if (window_) updateSettings();
    });
  });
  observe(kDownKeyNotification, [this, queue](const Notification& n) {
    queue([this, kid = intInfo(n, "kid", -1)] { showShortcutTips(kid); });
  });
  observe(kApplicationDidChangeScreenParametersNotification, [this](const Notification&) {
    if (window_) fillDisplaysCombo();
  });
}

void BTPanelViewController::setHasActivePanel(bool active) {
  if (active != hasActivePanel_) {
    hasActivePanel_ = active;
    if (active) {
      openPanel();
    } else {
      closePanel();
    }
  }
  emit hasActivePanelChanged();
}

BTPanelView& BTPanelViewController::window() {
  if (!window_) {
    window_ = std::make_unique<BTPanelView>(floating_);
    awakeFromNib();
  }
  return *window_;
}

void BTPanelViewController::awakeFromNib() {
  Ui::Panel& ui = window_->ui();
  ui.monitorView->setDriver(&driver_);
  ui.monitorView->setUpdateTabletOffset(
      [&ui](double left, double top, double right, double bottom) {
        ui.leftOffsetText->setText(QString::asprintf("%0.2f", left));
        ui.upOffsetText->setText(QString::asprintf("%0.2f", top));
        ui.rightOffsetText->setText(QString::asprintf("%0.2f", right));
        ui.downOffsetText->setText(QString::asprintf("%0.2f", bottom));
      });
  window_->resize(window_->width(), kPanelHeight);

  keepPageButtonsInStep();
  fillDisplaysCombo();
  didChangeDriverStatus();

  for (BTCustomCursorButton* link : {ui.morvelButton, ui.githubLinkButton, ui.refreshButton}) {
    link->setCustomCursor(QCursor(Qt::PointingHandCursor));
  }
  auto* formatter = new OnlyIntegerValueFormatter(window_.get());
  for (QLineEdit* field :
       {ui.leftOffsetText, ui.rightOffsetText, ui.upOffsetText, ui.downOffsetText}) {
    field->setValidator(formatter);
  }
  ui.versionInfoButton->setText(
      QStringLiteral("버전:%1").arg(QCoreApplication::applicationVersion()));

  connect(window_.get(), &BTPanelView::cancelOperation, this, &BTPanelViewController::putAway);
  connect(window_.get(), &BTPanelView::windowWillClose, this, &BTPanelViewController::putAway);
  connect(window_.get(), &BTPanelView::windowDidResize, this,
          &BTPanelViewController::windowDidResize);
  connectDriverControls();
  connectActions();
  connect(ui.adjustTabletOffsetButton, &QPushButton::clicked, this,
          &BTPanelViewController::adjustTabletOffset);
  initConfig();
}

void BTPanelViewController::putAway() {
  // A panel opened by activation leaves the flag false: close it all the same.
  if (!hasActivePanel_ && window_ && window_->isVisible()) closePanel();
  setHasActivePanel(false);
}

// The page buttons follow the shown page and the other way round, whatever
// moved either (a click, the mouse wheel, the arrow keys); without a tablet
// the page stays and the buttons spring back to it.
void BTPanelViewController::keepPageButtonsInStep() {
  Ui::Panel& ui = window_->ui();
  ui.tabView->tabBar()->hide();
  for (int i = 0; i < ui.tabView->count(); ++i) ui.segCtrl->addTab(ui.tabView->tabText(i));
  ui.segCtrl->setCurrentIndex(ui.tabView->currentIndex());
  connect(ui.segCtrl, &QTabBar::currentChanged, this,
          &BTPanelViewController::segmentedControlClick);
  connect(ui.tabView, &QTabWidget::currentChanged, ui.segCtrl, &QTabBar::setCurrentIndex);
}

void BTPanelViewController::initConfig() {
  Ui::Panel& ui = window_->ui();
  iniConfigStatus_ = false;
  // The editor reads the stored areas again and keeps them while the stored
  // display is selected.
  ui.monitorView->setLoadingSettings(true);
  {
    // Loading shows the values; it is not the user changing them.
    const QSignalBlocker pressure(ui.pressureSlider), smoothing(ui.smoothingSlider),
        deadZone(ui.penPressureDeadZoom), combo(ui.displaysCombo);
    setSliderReal(ui.pressureSlider, driver_.pressureDamping());
    ui.smoothingSlider->setValue(driver_.smoothingLevel());
    ui.enableMouseButton->setChecked(driver_.enableMouse());
    ui.enableShortcutButton->setChecked(driver_.enableShourtcut());
    setSliderReal(ui.penPressureDeadZoom, driver_.pressureDeadZone());
    if (QAbstractButton* box = rotationBoxFor(ui, driver_.tabletRotation())) {
      box->setChecked(true);
      ui.monitorView->initTabletRotate(driver_.tabletRotation());
    }
    ui.displaysCombo->setCurrentIndex(driver_.displayId());
  }
  comboBoxSelectionDidChange();
  ui.monitorView->setLoadingSettings(false);
  ui.shortcutSettingsButtonForTag0->setHover(true);
  setTabletShortcut(ui.shortcutSettingsButtonForTag0->property("tag").toInt());
  updateSettings();
  iniConfigStatus_ = true;
}

void BTPanelViewController::adjustTabletOffset() {
  if (!window_) return;
  Ui::Panel& ui = window_->ui();
  const auto real = [](const QLineEdit* field) { return double{field->text().toFloat()}; };
  const double left = real(ui.leftOffsetText);
  const double up = real(ui.upOffsetText);
  ui.monitorView->adjustTabletOffset(
      Rect(left, up, real(ui.rightOffsetText) - left, real(ui.downOffsetText) - up));
}

QRect BTPanelViewController::statusRectForWindow(const QRect& display) {
  BTStatusItemView* view = delegate_ ? delegate_->statusItemViewForPanelController(*this) : nullptr;
  std::optional<QSize> item;
  if (view && view->statusItem()) {
    const QRect icon = view->globalRect();
    item = icon.isEmpty() ? QSize(kStatusItemLength, kStatusBarThickness) : icon.size();
  }
  return statusRectForDisplay(display, item);
}

QScreen* BTPanelViewController::selectedScreen() const {
  const QList<QScreen*> screens = orderedScreens();
  // No selection (-1) is past the end too: the first display.
  const int index = window_ ? window_->ui().displaysCombo->currentIndex() : 0;
  return yk_objectAtIndexForScreen(std::vector<QScreen*>(screens.begin(), screens.end()),
                                   static_cast<std::size_t>(index))
      .value_or(nullptr);
}

void BTPanelViewController::openPanel() {
  BTPanelView& panel = window();
  removeTimer_.stop();
  if (closeAnimation_) closeAnimation_->stop();
  if (openAnimation_) openAnimation_->stop();

  QScreen* screen = selectedScreen();
  const QRect display = screen ? screen->geometry() : QRect(0, 0, kPanelWidth, kPanelHeight);
  // Screens of separate X screens share coordinates: name the screen too.
  if (screen) panel.setScreen(screen);
  statusRect_ = statusRectForWindow(display);
  const QRect target = panelRectForStatus(display, statusRect_);
  driver_.setShowPressure(true);
  panel.ui().monitorView->setShowScreen(true);
  panel.ui().testPadView->clearDisplay();

  if (floating_) {
    panel.setWindowOpacity(0.0);
    panel.setGeometry(statusRect_);
  } else {
    // An ordinary window opens where the panel would, at once: the window
    // manager draws its frame, and where a window cannot place itself the
    // compositor chooses.
    panel.move(target.topLeft());
  }
  panel.show();
  panel.raise();
  panel.activateWindow();
  // The keyboard starts on the panel itself: the arrow keys nudge the cursor.
  panel.setFocus();
  if (!floating_) return;

  const int duration = openDuration(statusRect_, display, target);
  auto group = std::make_unique<QParallelAnimationGroup>();
  auto* frame = new QPropertyAnimation(&panel, "geometry", group.get());
  frame->setDuration(duration);
  frame->setEndValue(target);
  auto* opacity = new QPropertyAnimation(&panel, "windowOpacity", group.get());
  opacity->setDuration(duration);
  opacity->setEndValue(1.0);
  group->addAnimation(frame);
  group->addAnimation(opacity);
  group->start();
  openAnimation_ = std::move(group);
}

void BTPanelViewController::closePanel() {
  BTPanelView& panel = window();
  driver_.setShowPressure(false);
  panel.ui().monitorView->setShowScreen(false);
  if (!floating_) {
    panel.hide();
    return;
  }
  if (openAnimation_) openAnimation_->stop();
  auto group = std::make_unique<QSequentialAnimationGroup>();
  auto* fade = new QPropertyAnimation(&panel, "windowOpacity", group.get());
  fade->setDuration(kCloseDurationMs);
  fade->setEndValue(0.0);
  group->addAnimation(fade);
  group->start();
  closeAnimation_ = std::move(group);
  // An open within the delay stops this timer, so a quick reopen stays up.
  removeTimer_.start();
}

void BTPanelViewController::windowDidResize() {
  if (!window_) return;
  window_->ui().backgroundView->setArrowX(arrowXFor(statusRect_, window_->geometry().x()));
}

void BTPanelViewController::didChangeDriverStatus() {
  QMetaObject::invokeMethod(this, &BTPanelViewController::applyDriverStatus, Qt::QueuedConnection);
}

void BTPanelViewController::applyDriverStatus() {
  if (!window_) return;
  Ui::Panel& ui = window_->ui();
  const bool connected = driver_.isConnected();
  ui.statusLabel->setText(tabletConnectionText(connected));
  ui.segCtrl->setCurrentIndex(ui.tabView->currentIndex());
  setPageControlsEnabled(ui.tabView->currentWidget(), connected);
  const Point offset = driver_.cursorOffset();
  ui.cursorLabel->setText(QString::asprintf("Offset %.0f,%.0f", offset.x, offset.y));
}

void BTPanelViewController::segmentedControlClick(int segment) {
  if (!window_) return;
  Ui::Panel& ui = window_->ui();
  if (driver_.isConnected()) {
    ui.tabView->setCurrentIndex(segment);
  } else {
    // The switcher moved itself; put it back on the shown page once the
    // event that moved it is done.
    QMetaObject::invokeMethod(
        ui.segCtrl, [&ui] { ui.segCtrl->setCurrentIndex(ui.tabView->currentIndex()); },
        Qt::QueuedConnection);
  }
}

void BTPanelViewController::showPressure(int pressure) {
  if (window_) window_->ui().showPressureProgress->setValue(pressure);
}

}  // namespace taviro
