#include "views/BTBackgroundView.h"

#include <QPainter>

namespace taviro {
namespace {

constexpr double kArrowHeight = 8.0;
constexpr double kArrowHalfWidth = 6.0;
constexpr double kRadius = 6.0;

// A rounded corner as a cubic curve with both control points on the corner.
void cornerTo(QPainterPath& path, QPointF corner, QPointF end) {
  path.cubicTo(corner, corner, end);
}

}  // namespace

QPainterPath backgroundOutline(const QRectF& bounds, qint64 arrowX) {
  const QRectF r = bounds.adjusted(1.0, 1.0, -1.0, -1.0);
  const double a = static_cast<double>(arrowX);
  const double top = r.top() + kArrowHeight;
  QPainterPath path;
  path.moveTo(a, r.top());
  path.lineTo(a + kArrowHalfWidth, top);
  path.lineTo(r.right() - kRadius, top);
  cornerTo(path, {r.right(), top}, {r.right(), top + kRadius});
  path.lineTo(r.right(), r.bottom() - kRadius);
  cornerTo(path, {r.right(), r.bottom()}, {r.right() - kRadius, r.bottom()});
  path.lineTo(r.left() + kRadius, r.bottom());
  cornerTo(path, {r.left(), r.bottom()}, {r.left(), r.bottom() - kRadius});
  path.lineTo(r.left(), top + kRadius);
  cornerTo(path, {r.left(), top}, {r.left() + kRadius, top});
  path.lineTo(a - kArrowHalfWidth, top);
  path.closeSubpath();
  return path;
}

BTBackgroundView::BTBackgroundView(QWidget* parent) : QWidget(parent) {}

void BTBackgroundView::setArrowX(qint64 x) {
  arrowX_ = x;
  update();
}

void BTBackgroundView::setFramed(bool framed) {
  framed_ = framed;
  update();
}

void BTBackgroundView::paintEvent(QPaintEvent*) {
  if (framed_) {
    QPainter(this).fillRect(rect(), Qt::white);
    return;
  }
  const QPainterPath outline = backgroundOutline(QRectF(rect()), arrowX_);
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillPath(outline, QColor(255, 255, 255, qRound(0.95 * 255)));
  // Only the outer half of the 2-wide stroke shows: clip away the inside.
  QPainterPath outside;
  outside.addRect(QRectF(rect()));
  painter.setClipPath(outside.subtracted(outline));
  painter.strokePath(outline, QPen(Qt::white, 2.0));
  painter.setClipping(false);
}

}  // namespace taviro
