#pragma once
// The status item: a tray icon that shows "Status" while a tablet is
// connected and "StatusHighlighted" otherwise, with a tooltip that says so,
// and turns a click into the application's toggle action. It clicks itself
// once 0.1 s after creation.
#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <atomic>
#include <functional>
#include <optional>

class QMenu;

namespace taviro {

// What the panel's header and the icon's tooltip say of the tablet.
QString tabletConnectionText(bool connected);

class BTStatusItemView : public QObject {
  Q_OBJECT
 public:
  static constexpr int kFirstClickDelayMs = 100;

  // `statusItem` may be null when the desktop has no tray; the view then
  // still runs its action and its first click.
  explicit BTStatusItemView(QSystemTrayIcon* statusItem, QObject* parent = nullptr);

  QSystemTrayIcon* statusItem() const { return statusItem_; }
  void setImage(const QIcon& image);
  void setAlternateImage(const QIcon& image);
  // The picture now shown: the alternate one while highlighted.
  QIcon shownImage() const;

  bool isHighlighted() const { return highlighted_; }
  // Any thread: the icon is changed on the main thread afterwards.
  void setHighlighted(bool highlighted);

  void setAction(std::function<void()> action) { action_ = std::move(action); }
  void setMenu(QMenu* menu);
  // The icon's place on screen; empty when unknown or without a tray.
  QRect globalRect() const;

  // A click: runs the action. While it runs, currentClickModifiers() answers
  // the keyboard modifiers of the click.
  void mouseDown(std::optional<Qt::KeyboardModifiers> modifiers = std::nullopt);
  static std::optional<Qt::KeyboardModifiers> currentClickModifiers();

 private:
  void redraw();

  QPointer<QSystemTrayIcon> statusItem_;
  QIcon image_;
  QIcon alternateImage_;
  std::atomic<bool> highlighted_{false};
  std::function<void()> action_;
};

}  // namespace taviro
