#include "app/BTStatusItemView.h"

#include <QGuiApplication>
#include <QMenu>
#include <QTimer>

namespace taviro {
namespace {

std::optional<Qt::KeyboardModifiers> gClickModifiers;

}  // namespace

QString tabletConnectionText(bool connected) {
  return connected ? QStringLiteral("그래픽 타블렛이 연결되었습니다")
                   : QStringLiteral("그래픽 타블렛이 연결되지 않았습니다");
}

BTStatusItemView::BTStatusItemView(QSystemTrayIcon* statusItem, QObject* parent)
    : QObject(parent), statusItem_(statusItem) {
  if (statusItem_) {
    connect(statusItem_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
              if (reason == QSystemTrayIcon::Trigger) {
                mouseDown(QGuiApplication::queryKeyboardModifiers());
              }
            });
  }
  QTimer::singleShot(kFirstClickDelayMs, this, [this] { mouseDown(); });
}

void BTStatusItemView::setImage(const QIcon& image) {
  image_ = image;
  redraw();
}

void BTStatusItemView::setAlternateImage(const QIcon& image) {
  alternateImage_ = image;
  if (highlighted_) redraw();
}

QIcon BTStatusItemView::shownImage() const { return highlighted_ ? alternateImage_ : image_; }

void BTStatusItemView::setHighlighted(bool highlighted) {
  if (highlighted_.exchange(highlighted) == highlighted) return;
  QMetaObject::invokeMethod(this, &BTStatusItemView::redraw, Qt::QueuedConnection);
}

void BTStatusItemView::setMenu(QMenu* menu) {
  if (statusItem_) statusItem_->setContextMenu(menu);
}

QRect BTStatusItemView::globalRect() const {
  return statusItem_ ? statusItem_->geometry() : QRect();
}

void BTStatusItemView::mouseDown(std::optional<Qt::KeyboardModifiers> modifiers) {
  gClickModifiers = modifiers;
  if (action_) action_();
  gClickModifiers.reset();
}

std::optional<Qt::KeyboardModifiers> BTStatusItemView::currentClickModifiers() {
  return gClickModifiers;
}

void BTStatusItemView::redraw() {
  if (!statusItem_) return;
  statusItem_->setIcon(shownImage());
  statusItem_->setToolTip(QStringLiteral("Taviro: ") + tabletConnectionText(highlighted_));
}

}  // namespace taviro
