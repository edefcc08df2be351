#pragma once
// The panel's background: a white rounded rectangle whose top edge carries a
// small arrow pointing up at the status icon.
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

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  qint64 arrowX_ = 0;
};

}  // namespace taviro
