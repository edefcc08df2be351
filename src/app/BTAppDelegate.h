#pragma once
// The application object: registers the login item, keeps Taviro to one copy,
// creates the driver and the status item, and opens and closes the settings
// panel when the item is clicked.
#include <QMenu>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "app/BTMenubarController.h"
#include "app/BTPanelViewController.h"
#include "app/SingleInstance.h"

namespace taviro {

class BTDriverManager;
class Configure;

class BTAppDelegate : public QObject, public PanelControllerDelegate {
  Q_OBJECT
 public:
  struct Options {
    QString instanceName = instanceSocketName();
    QString autostartDir;
    QString startletExecutable;
    // The menu entry; none is written when applicationsDir is empty.
    QString applicationsDir;
    QString resourcesDir;
    // Whether the desktop had a tray at start: the panel then floats under
    // the icon; otherwise it is an ordinary window opened at start.
    bool trayAvailable = true;
    // False where a window cannot place itself (Wayland): the panel is then
    // an ordinary window even with a tray.
    bool windowsPlaceThemselves = true;
    // Whether to put up a tray icon at all. Without a tray at start it still
    // shows up once a tray appears (a login session may start its panel late).
    bool createStatusIcon = true;
    // Step 3 of the start: creates (or returns) the driver.
    std::function<BTDriverManager&()> createDriver;
    // The shortcut store the panel edits; asked for after the driver exists.
    std::function<Configure&()> shortcuts;
  };

  explicit BTAppDelegate(Options options, QObject* parent = nullptr);
  ~BTAppDelegate() override;

  // The instance created last; null before the first.
  static BTAppDelegate* shard();
  // The driver's connection hook: tells the status item. Any thread.
  static void driverDidChangeConnection(bool connected);

  // The start-up sequence. False when another copy runs: it has been asked to
  // open its panel, and this copy must quit without going on.
  bool applicationDidFinishLaunching();
  // Opens the panel without touching the toggle flags, unless the icon counts
  // as active. Runs when another copy hands the focus over, and at start when
  // there is no tray.
  void applicationDidBecomeActive();
  // Removes the status item and stops the driver thread; the process may
  // end at once.
  void applicationShouldTerminate();
  // The status item's action.
  void togglePanel();
  // The tray menu's first entry: opens the panel, or brings it forward.
  void showPanel();

  BTPanelViewController& panelController();
  bool hasPanelController() const { return panelController_ != nullptr; }
  BTMenubarController* menubarController() { return menubarController_.get(); }
  BTDriverManager* driver() { return driver_; }
  bool notFirstShow() const { return notFirstShow_; }

  BTStatusItemView* statusItemViewForPanelController(BTPanelViewController& controller) override;

 private:
  Options options_;
  SingleInstance instance_;
  BTDriverManager* driver_ = nullptr;
  std::unique_ptr<BTMenubarController> menubarController_;
  std::unique_ptr<BTPanelViewController> panelController_;
  QMenu menu_;
  bool notFirstShow_ = false;
};

}  // namespace taviro
