// Taviro: the tablet driver with its tray icon and settings panel.
//
// Options for scripts and tests:
//   --no-tray         behave as on a desktop without a tray
//   --fake-connected  show a connected tablet (the driver still runs)
//   --open-panel      open the panel as a click on the icon would
//   --panel-display N select display N (0 = the main one) for this run
//   --panel-page N    show page N of the open panel
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QSystemTrayIcon>
#include <QTimer>

#include "app/AppPlatform.h"
#include "app/BTAppDelegate.h"
#include "app/BTMenubarController.h"
#include "app/BTPanelView.h"
#include "app/LoginItem.h"
#include "driver/BTDriverManager.h"
#include "ui_Panel.h"

using namespace taviro;

namespace {

// Korean texts need a CJK face; Noto Sans CJK is what the set-up installs.
void preferCjkFont(QApplication& app) {
  QFont font = app.font();
  font.setFamilies({font.family(), QStringLiteral("Noto Sans CJK KR")});
  app.setFont(font);
}

void applyTestHooks(const QStringList& args, BTAppDelegate& delegate) {
  if (args.contains(QStringLiteral("--fake-connected"))) {
    BTDriverManager* driver = delegate.driver();
    driver->setIsConnected(true);
    driver->postUpdateNotification();
  }
  const qsizetype display = args.indexOf(QStringLiteral("--panel-display"));
  if (display >= 0 && display + 1 < args.size())
    delegate.driver()->setDisplayId(args[display + 1].toInt());
  if (args.contains(QStringLiteral("--open-panel"))) {
    // After the automatic first click.
    QTimer::singleShot(2 * BTStatusItemView::kFirstClickDelayMs, &delegate,
                       [&delegate] { delegate.togglePanel(); });
  }
  const qsizetype page = args.indexOf(QStringLiteral("--panel-page"));
  if (page >= 0 && page + 1 < args.size()) {
    QTimer::singleShot(4 * BTStatusItemView::kFirstClickDelayMs, &delegate,
                       [&delegate, index = args[page + 1].toInt()] {
                         Ui::Panel& ui = delegate.panelController().window().ui();
                         ui.tabView->setCurrentIndex(index);
                         ui.segCtrl->setCurrentIndex(index);
                       });
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Taviro"));
  QApplication::setApplicationVersion(QStringLiteral(TAVIRO_VERSION));
  QApplication::setQuitOnLastWindowClosed(false);
  QGuiApplication::setDesktopFileName(QStringLiteral("com.nivolt.Kestrom"));
  preferCjkFont(app);

  const QStringList args = QApplication::arguments();
  const QString executableDir = QApplication::applicationDirPath();
  const QString resourcesDir = QDir::cleanPath(executableDir + QStringLiteral("/../Resources"));
  // The menu entry's icon on every window, for window managers that show a
  // window's own icon (X11); Wayland compositors take the entry's.
  QApplication::setWindowIcon(applicationIcon());
  // Built with the driver, after the single-instance check: a second copy
  // touches neither the settings file nor the devices.
  std::unique_ptr<AppPlatform> platform;

  BTAppDelegate::Options options;
  options.autostartDir = defaultAutostartDir();
  options.startletExecutable = startletExecutableFor(executableDir);
  // An installed Taviro has its menu entry from the package.
  if (!menuEntryInstalled()) options.applicationsDir = defaultApplicationsDir();
  options.resourcesDir = resourcesDir;
  options.createStatusIcon = !args.contains(QStringLiteral("--no-tray"));
  options.trayAvailable = options.createStatusIcon && QSystemTrayIcon::isSystemTrayAvailable();
  options.windowsPlaceThemselves =
      !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
  options.createDriver = [&platform, resourcesDir]() -> BTDriverManager& {
    platform = std::make_unique<AppPlatform>(resourcesDir);
    BTDriverManager::configureShared(
        platform->driverPlatform(&BTAppDelegate::driverDidChangeConnection));
    return BTDriverManager::shared();
  };

  options.shortcuts = [&platform]() -> Configure& { return platform->shortcuts(); };

  BTAppDelegate delegate(std::move(options));
  QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate,
                   &BTAppDelegate::applicationShouldTerminate);
  if (!delegate.applicationDidFinishLaunching()) return 0;
  applyTestHooks(args, delegate);
  return app.exec();
}
