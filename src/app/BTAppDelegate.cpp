#include "app/BTAppDelegate.h"

#include <QCoreApplication>

#include "app/BTPanelView.h"
#include "app/LoginItem.h"
#include "driver/BTDriverManager.h"
#include "foundation/Log.h"

namespace taviro {
namespace {

BTAppDelegate* gShared = nullptr;

}  // namespace

BTAppDelegate::BTAppDelegate(Options options, QObject* parent)
    : QObject(parent), options_(std::move(options)), instance_(options_.instanceName) {
  gShared = this;
  // On desktops whose tray shows the menu on a left click, its first entry
  // is the only way to the panel.
  menu_.addAction(QStringLiteral("설정 열기"), this, &BTAppDelegate::showPanel);
  menu_.addAction(QStringLiteral("종료"), qApp, &QCoreApplication::quit, Qt::QueuedConnection);
  connect(&instance_, &SingleInstance::activationRequested, this, [this] {
    logBare("another copy of Taviro was started: opening the panel");
    applicationDidBecomeActive();
  });
}

BTAppDelegate::~BTAppDelegate() {
  if (gShared == this) gShared = nullptr;
}

BTAppDelegate* BTAppDelegate::shard() { return gShared; }

void BTAppDelegate::driverDidChangeConnection(bool connected) {
  if (gShared && gShared->menubarController_) gShared->menubarController_->setIsConnect(connected);
}

bool BTAppDelegate::applicationDidFinishLaunching() {
  if (registerLoginItem(options_.autostartDir, options_.startletExecutable)) {
    logBare("开机启动启动设置成功");
  } else {
    logBare("开机启动启动设置失败");
  }
  if (!options_.applicationsDir.isEmpty() &&
      !registerMenuEntry(options_.applicationsDir,
                         options_.resourcesDir + QStringLiteral("/com.nivolt.Kestrom.desktop"),
                         QCoreApplication::applicationFilePath(),
                         options_.resourcesDir + QStringLiteral("/taviro.svg"))) {
    logBare("could not add Taviro to the desktop's menu (%s)",
            qPrintable(options_.applicationsDir));
  }
  if (!instance_.claim()) {
    logBare("Taviro already runs: handed the focus to it");
    return false;
  }
  driver_ = &options_.createDriver();
  logBare("created driver manager %p", static_cast<void*>(driver_));
  menubarController_ =
      std::make_unique<BTMenubarController>(options_.createStatusIcon, [this] { togglePanel(); });
  menubarController_->statusItemView().setMenu(&menu_);
  if (!options_.trayAvailable) {
    logBare(
        "No system tray available: the panel opens as an ordinary window now and whenever "
        "Taviro is started again (the icon appears if a tray starts later)");
    QMetaObject::invokeMethod(this, &BTAppDelegate::applicationDidBecomeActive,
                              Qt::QueuedConnection);
  }
  return true;
}

void BTAppDelegate::applicationDidBecomeActive() {
  if (menubarController_ && !menubarController_->hasActiveIcon()) panelController().openPanel();
}

void BTAppDelegate::applicationShouldTerminate() {
  // The driver thread uses the platform objects destroyed after this, and
  // tells the status item about connections: end it before both go.
  if (driver_) driver_->shutdown();
  menubarController_.reset();
}

void BTAppDelegate::togglePanel() {
  menubarController_->setHasActiveIcon(!menubarController_->hasActiveIcon());
  if (notFirstShow_) {
    panelController().setHasActivePanel(menubarController_->hasActiveIcon());
  } else {
    // The automatic first click only creates the controller; the observation
    // resets the icon flag.
    notFirstShow_ = true;
    panelController().setHasActivePanel(false);
  }
}

void BTAppDelegate::showPanel() {
  if (!menubarController_->hasActiveIcon()) {
    togglePanel();
    return;
  }
  BTPanelView& panel = panelController().window();
  panel.raise();
  panel.activateWindow();
}

BTPanelViewController& BTAppDelegate::panelController() {
  if (!panelController_) {
    panelController_ = std::make_unique<BTPanelViewController>(
        this, *driver_, options_.shortcuts(),
        options_.trayAvailable && options_.windowsPlaceThemselves);
    connect(panelController_.get(), &BTPanelViewController::hasActivePanelChanged, this, [this] {
      if (menubarController_)
        menubarController_->setHasActiveIcon(panelController_->hasActivePanel());
    });
  }
  return *panelController_;
}

BTStatusItemView* BTAppDelegate::statusItemViewForPanelController(BTPanelViewController&) {
  if (!menubarController_) return nullptr;
  BTStatusItemView& view = menubarController_->statusItemView();
  view.setMenu(&menu_);
  return &view;
}

}  // namespace taviro
