#pragma once
// The panel's background: a white rounded rectangle whose top edge carries a
// small arrow pointing up at the status icon. In an ordinary window (framed)
// it is a plain white rectangle: the window manager draws the frame, and
// without a compositor nothing around a rounded shape would be see-through.
#include <QPainterPath>
#include <QWidget>

namespace taviro {

// The outline inside `bounds` (widget coordinates, y downwards): corner radius
// 6, an arrow 12 wide and 8 high whose tip sits at x = arrowX on the top edge.
QPainterPath backgroundOutline(const QRectF& bounds, qint64 arrowX);

class BTBackgroundView : public QWidget {
  Q_OBJECT
 public:
  explicit BTBackgroundView(QWidget* parent = nullptr);

  qint64 arrowX() const { return arrowX_; }
  void setArrowX(qint64 x);
  bool isFramed() const { return framed_; }
  void setFramed(bool framed);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  qint64 arrowX_ = 0;
  bool framed_ = false;
};

}  // namespace taviro
