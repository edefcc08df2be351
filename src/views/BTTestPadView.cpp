#include "views/BTTestPadView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointingDevice>
#include <QTabletEvent>
#include <bit>

#include "foundation/Log.h"

namespace taviro {
namespace {

int buttonNumber(Qt::MouseButton button) {
  const auto bits = static_cast<unsigned>(button);
  return bits ? std::countr_zero(bits) : 0;
}

BTTestPadView::PointerSample sampleOf(const QSinglePointEvent& event, float pressure,
                                      int clickCount) {
  return {.position = event.position(),
          .pressure = pressure,
          .capabilities = static_cast<int>(event.pointingDevice()->capabilities()),
          .clickCount = clickCount,
          .buttonNumber = buttonNumber(event.button()),
          .buttonMask = static_cast<int>(event.buttons())};
}

// A mouse presses as hard as a pen can while a button is held.
BTTestPadView::PointerSample sampleOf(const QMouseEvent& event, int clickCount) {
  return sampleOf(event, event.buttons() == Qt::NoButton ? 0.0f : 1.0f, clickCount);
}

}  // namespace

QPen testPadPen(float pressure) {
  QPen pen(QColor::fromRgbF(0, 0, 1, static_cast<float>(double(pressure) * 0.4 + 0.1)));
  pen.setWidthF(pressure * 30.0f);
  pen.setCapStyle(Qt::RoundCap);
  return pen;
}

BTTestPadView::BTTestPadView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::ClickFocus);
  // Moves without a button (or with the pen hovering) are logged too.
  setMouseTracking(true);
  setTabletTracking(true);
}

void BTTestPadView::clearDisplay() {
  strokes_.fill(Qt::white);
  update();
}

void BTTestPadView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.drawImage(event->rect(), strokes_,
                    QRectF(QPointF(event->rect().topLeft()) * strokes_.devicePixelRatio(),
                           QSizeF(event->rect().size()) * strokes_.devicePixelRatio()));
}

void BTTestPadView::resizeEvent(QResizeEvent*) {
  const qreal ratio = devicePixelRatioF();
  QImage grown(size() * ratio, QImage::Format_ARGB32_Premultiplied);
  grown.setDevicePixelRatio(ratio);
  grown.fill(Qt::white);
  if (!strokes_.isNull()) QPainter(&grown).drawImage(QPointF(0, 0), strokes_);
  strokes_ = std::move(grown);
}

// ---- Qt's pointer events

void BTTestPadView::tabletEvent(QTabletEvent* event) {
  // Taken whole: Qt then makes no mouse events of it.
  event->accept();
  const bool tip = event->button() == Qt::LeftButton;
  const float pressure = static_cast<float>(event->pressure());
  switch (event->type()) {
    case QEvent::TabletPress:
      if (tip) mouseDown(sampleOf(*event, pressure, clickCount_ = 1));
      break;
    case QEvent::TabletMove:
      if (event->buttons() & Qt::LeftButton)
        mouseDragged(sampleOf(*event, pressure, clickCount_));
      else if (event->buttons() == Qt::NoButton)
        mouseMoved(sampleOf(*event, pressure, 0));
      break;
    case QEvent::TabletRelease:
      if (tip) mouseUp(sampleOf(*event, pressure, clickCount_));
      break;
    default:
      break;
  }
}

void BTTestPadView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) mouseDown(sampleOf(*event, clickCount_ = 1));
}

void BTTestPadView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) mouseDown(sampleOf(*event, clickCount_ = 2));
}

void BTTestPadView::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton)
    mouseDragged(sampleOf(*event, clickCount_));
  else if (event->buttons() == Qt::NoButton)
    mouseMoved(sampleOf(*event, 0));
}

void BTTestPadView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) mouseUp(sampleOf(*event, clickCount_));
}

void BTTestPadView::enterEvent(QEnterEvent* event) {
  logEvent(sampleOf(*event, 0.0f, 0), "entered");
}

void BTTestPadView::leaveEvent(QEvent*) { logEvent({}, "exited"); }

// ---- The pad's handlers

void BTTestPadView::mouseDown(const PointerSample& sample) {
  logEvent(sample, "DOWN");
  previousLocation_ = sample.position;
  gesture_ = Gesture::pressed;
}

void BTTestPadView::mouseDragged(const PointerSample& sample) {
  if (gesture_ != Gesture::dragging) {
    // The first drag of a gesture only logs; strokes start from the press.
    logEvent(sample, "DRAGGED");
    gesture_ = Gesture::dragging;
    return;
  }
  logEvent(sample, "DRAGGED-LOOP");
  drawLineWithEvent(sample);
}

void BTTestPadView::mouseMoved(const PointerSample& sample) { logEvent(sample, "Move"); }

void BTTestPadView::mouseUp(const PointerSample& sample) {
  logEvent(sample, gesture_ == Gesture::dragging ? "DOWN-LOOP" : "UP");
  gesture_ = Gesture::none;
}

void BTTestPadView::drawLineWithEvent(const PointerSample& sample) {
  const QPen pen = testPadPen(sample.pressure);
  {
    QPainter painter(&strokes_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(pen);
    painter.drawLine(previousLocation_, sample.position);
  }
  const qreal reach = pen.widthF() / 2 + 2;
  update(QRectF(previousLocation_, sample.position)
             .normalized()
             .adjusted(-reach, -reach, reach, reach)
             .toAlignedRect());
  previousLocation_ = sample.position;
}

void BTTestPadView::logEvent(const PointerSample& sample, const char* type) {
  TAVIRO_LOG("-[BTTestPadView logEvent:withType:]", kLogInfo,
             "[%s] cap %d cc %d pres %f bn %d bm %d", type, sample.capabilities, sample.clickCount,
             double(sample.pressure), sample.buttonNumber, sample.buttonMask);
}

}  // namespace taviro
