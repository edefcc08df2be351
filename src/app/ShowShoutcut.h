#pragma once
// The key tip: a small see-through window that shows, for 2.5 s at the top of
// a display, the picture of the express key just pressed and the label of its
// shortcut. The panel opens one per press of keys 0 to 4; several may be up at
// once, each closing on its own.
#include <QRectF>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <memory>

class QScreen;

namespace Ui {
class ShowShoutcut;
}

namespace taviro {

class ShortcutLookup;

// The picture of the tablet's express-key column with key `key` (0 to 4) lit,
// as a resource path; empty for other keys. The panel's express-key page shows
// the same pictures.
QString expressKeyPicture(long key);

class ShowShoutcut : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kShowMs = 2500;
  static constexpr double kOpacity = 0.8;
  static constexpr int kTopMargin = 10;  // below the top edge of the display

  // Shows the tip of express key `kid` on `screen` (the primary one when
  // null); it closes and frees itself after 2.5 s. Keys outside 0 to 4 have
  // no tip: nothing opens and the result is null.
  static ShowShoutcut* showShortcutTip(ShortcutLookup& shortcuts, long kid, QScreen* screen);

  explicit ShowShoutcut(ShortcutLookup& shortcuts, QWidget* parent = nullptr);
  ~ShowShoutcut() override;

  // The frame of the display to show on, in Qt's global coordinates.
  void setScreenSize(const QRectF& frame) { screenSize_ = frame; }
  QRectF screenSize() const { return screenSize_; }
  // Places the tip centred at the top of the display and shows the elements
  // tagged with `keyId`, its label read from the shortcut store.
  void setId(int keyId);

  // The container of the per-key elements.
  QWidget* view() const;

 private:
  std::unique_ptr<Ui::ShowShoutcut> ui_;
  ShortcutLookup& shortcuts_;
  QRectF screenSize_;
  QTimer closeTimer_;
};

}  // namespace taviro
