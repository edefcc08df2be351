#pragma once
// Owns the status item and its view. Destroying it removes the icon.
#include <QSystemTrayIcon>
#include <atomic>
#include <functional>
#include <memory>

#include "app/BTStatusItemView.h"

namespace taviro {

// The status image `name` ("Status" or "StatusHighlighted") at every size.
QIcon statusImage(const QString& name);
// Taviro's own icon, for its windows.
QIcon applicationIcon();

class BTMenubarController {
 public:
  // Creates the tray icon when asked to, and the view either way; `action`
  // runs on every click (and on the automatic first one).
  BTMenubarController(bool createIcon, std::function<void()> action);
  ~BTMenubarController();

  BTStatusItemView& statusItemView() { return *statusItemView_; }
  QSystemTrayIcon* statusItem() const { return statusItem_.get(); }

  bool hasActiveIcon() const { return active_; }
  void setHasActiveIcon(bool active) { active_ = active; }
  bool isConnect() const { return isConnect_; }
  // Any thread (the driver reports connection changes from its own).
  void setIsConnect(bool connected);

 private:
  std::unique_ptr<QSystemTrayIcon> statusItem_;
  std::unique_ptr<BTStatusItemView> statusItemView_;
  bool active_ = false;
  std::atomic<bool> isConnect_{false};
};

}  // namespace taviro
