#include "views/BTMonitorView.h"

#include <QMouseEvent>
#include <QPainter>

#include "mapping/MappingGeometry.h"
#include "platform/qt/QtDisplayServices.h"
#include "platform/qt/ScreenShot.h"

namespace taviro {
namespace {

const QColor kBackground = QColor::fromRgbF(0.8902f, 0.8902f, 0.8902f);
const QColor kAreaFill = QColor::fromRgbF(0.49f, 0.99f, 0.49f, 0.2f);
const QColor kAreaOutline = QColor::fromRgbF(0.19f, 0.99f, 0.19f, 1.0f);
const QColor kTabletFrame = QColor::fromRgbF(0, 0, 0, 0.2f);
const QColor kDisplayFrame = QColor::fromRgbF(0, 0, 0, 0.1f);
const QColor kNoPicture(0x5f, 0x63, 0x68);

QImage applicationScreenShot(int index) {
  const QtDisplayServices* displays = QtDisplayServices::instance();
  return displays ? screenShot(*displays, index) : QImage();
}

Qt::CursorShape shapeOf(EditorCursor cursor) {
  switch (cursor) {
    case EditorCursor::SizeHorizontal:
      return Qt::SizeHorCursor;
    case EditorCursor::SizeVertical:
      return Qt::SizeVerCursor;
    case EditorCursor::OpenHand:
      return Qt::OpenHandCursor;
    case EditorCursor::Arrow:
      break;
  }
  return Qt::ArrowCursor;
}

void paintArea(QPainter& painter, const QRectF& frame, const QColor& frameColour,
               const QRectF& area) {
  painter.setPen(QPen(frameColour, 1.0));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(frame);
  painter.fillRect(area, kAreaFill);
  painter.setPen(QPen(kAreaOutline, 2.0));
  painter.drawRect(area);
}

}  // namespace

BTMonitorView::BTMonitorView(QWidget* parent)
    : QWidget(parent), screenShot_(applicationScreenShot) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
  editor_.setNeedsDisplay([this] { update(); });
  editor_.setVisibleRect(Rect(0, 0, width(), height()));
  refreshTimer_.setInterval(kScreenRefreshMs);
  connect(&refreshTimer_, &QTimer::timeout, this, [this] {
    refreshScreenShot();
    update();
  });
}

void BTMonitorView::setUpdateTabletOffset(OffsetCallback callback) {
  editor_.setUpdateTabletOffset(std::move(callback));
}

void BTMonitorView::selectMonitorIndex(int index) {
  monitorScreenImage_ = screenShot_(index);
  editor_.selectMonitorIndex(index);
}

void BTMonitorView::setShowScreen(bool show) {
  showScreen_ = show;
  if (show) {
    refreshTimer_.start();
  } else {
    refreshTimer_.stop();
  }
}

void BTMonitorView::refreshScreenShot() {
  monitorScreenImage_ = screenShot_(editor_.monitorIndex());
}

Point BTMonitorView::toView(const QPointF& p) const { return Point{p.x(), height() - p.y()}; }

QRectF BTMonitorView::toWidget(const Rect& r) const {
  return QRectF(r.minX(), height() - r.maxY(), r.size.width, r.size.height);
}

void BTMonitorView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  editor_.setVisibleRect(Rect(0, 0, width(), height()));
}

void BTMonitorView::paintEvent(QPaintEvent*) {
  const EditorPicture picture = editor_.drawRect();
  QPainter painter(this);
  painter.fillRect(rect(), kBackground);
  painter.setRenderHint(QPainter::Antialiasing);

  if (tabletImageIndex_ != picture.rotationIndex) {
    tabletImageIndex_ = picture.rotationIndex;
    tabletScreenImage_.load(QStringLiteral(":/tablet/%1.svg")
                                .arg(QLatin1String(kTabletImages[std::size_t(tabletImageIndex_)])));
  }
  if (tabletScreenImage_.isValid()) {
    tabletScreenImage_.render(&painter, toWidget(picture.tabletImageRect));
  }
  paintArea(painter, toWidget(picture.tabletFrame), kTabletFrame, toWidget(picture.tabletArea));
  if (!picture.monitorFrame) return;

  paintDisplay(painter, picture);
  paintArea(painter, toWidget(*picture.monitorFrame), kDisplayFrame, toWidget(picture.monitorArea));

  // Corners in the order bottom-left, bottom-right, top-right, top-left.
  const QRectF m = toWidget(picture.monitorArea);
  const QRectF t = toWidget(picture.tabletArea);
  QPen dashed(Qt::black, 1.0);
  dashed.setDashPattern({2, 2});
  painter.setPen(dashed);
  painter.drawLine(m.bottomLeft(), t.bottomLeft());
  painter.drawLine(m.bottomRight(), t.bottomRight());
  painter.drawLine(m.topRight(), t.topRight());
  painter.drawLine(m.topLeft(), t.topLeft());
}

// The display picture; without one (Wayland gives none), a plain frame of
// the display's shape, labelled with its size.
void BTMonitorView::paintDisplay(QPainter& painter, const EditorPicture& picture) {
  const QRectF target = toWidget(*picture.monitorFrame);
  if (!monitorScreenImage_.isNull()) {
    painter.drawImage(target, monitorScreenImage_);
    return;
  }
  painter.fillRect(target, kNoPicture);
  painter.setPen(Qt::white);
  painter.drawText(
      target, Qt::AlignCenter,
      QStringLiteral("%1 × %2").arg(picture.displaySize.width).arg(picture.displaySize.height));
}

void BTMonitorView::setEditorCursor(EditorCursor cursor) { setCursor(shapeOf(cursor)); }

void BTMonitorView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  setEditorCursor(editor_.mouseDown(toView(event->position())));
}

void BTMonitorView::mouseMoveEvent(QMouseEvent* event) {
  const Point p = toView(event->position());
  setEditorCursor((event->buttons() & Qt::LeftButton) ? editor_.mouseDragged(p)
                                                      : editor_.mouseMoved(p));
}

void BTMonitorView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
  setEditorCursor(editor_.mouseUp(toView(event->position())));
}

}  // namespace taviro
