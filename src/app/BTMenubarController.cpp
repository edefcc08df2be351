#include "app/BTMenubarController.h"

// The images are compiled into a static library, whose resource registration
// the linker would drop unless something refers to it.
static void loadImageResources() { Q_INIT_RESOURCE(resources); }

namespace taviro {

QIcon statusImage(const QString& name) {
  loadImageResources();
  QIcon icon;
  for (int size : {16, 22, 32, 64}) {
    icon.addFile(QStringLiteral(":/images/%1-%2.png").arg(name).arg(size), QSize(size, size));
  }
  return icon;
}

QIcon applicationIcon() {
  loadImageResources();
  return QIcon(QStringLiteral(":/images/taviro.svg"));
}

BTMenubarController::BTMenubarController(bool createIcon, std::function<void()> action) {
  if (createIcon) statusItem_ = std::make_unique<QSystemTrayIcon>();
  statusItemView_ = std::make_unique<BTStatusItemView>(statusItem_.get());
  // The names are swapped on purpose: "Status" marks a connected tablet.
  statusItemView_->setImage(statusImage(QStringLiteral("StatusHighlighted")));
  statusItemView_->setAlternateImage(statusImage(QStringLiteral("Status")));
  statusItemView_->setAction(std::move(action));
  if (statusItem_) statusItem_->show();
}

BTMenubarController::~BTMenubarController() {
  if (statusItem_) statusItem_->hide();
}

void BTMenubarController::setIsConnect(bool connected) {
  isConnect_ = connected;
  statusItemView_->setHighlighted(connected);
}

}  // namespace taviro
