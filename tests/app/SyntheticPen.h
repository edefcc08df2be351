#pragma once
// Tablet events as a pen would send them, delivered straight to a widget:
// nothing here needs a tablet, or even a display server that knows one.
#include <QApplication>
#include <QPointingDevice>
#include <QTabletEvent>
#include <QWidget>

namespace taviro::test {

inline const QPointingDevice& syntheticStylus() {
  static const QPointingDevice stylus(
      QStringLiteral("synthetic pen"), 4242, QInputDevice::DeviceType::Stylus,
      QPointingDevice::PointerType::Pen,
      QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3);
  return stylus;
}

// One pen event at `at` (widget coordinates): a press or release of the tip,
// or a move with the tip down (`touching`) or hovering.
inline void sendPen(QWidget* widget, QEvent::Type type, QPointF at, qreal pressure, bool touching) {
  const Qt::MouseButton button = type == QEvent::TabletMove ? Qt::NoButton : Qt::LeftButton;
  QTabletEvent event(type, &syntheticStylus(), at, widget->mapToGlobal(at), pressure, 0, 0, 0, 0, 0,
                     Qt::NoModifier, button, touching ? Qt::LeftButton : Qt::NoButton);
  QApplication::sendEvent(widget, &event);
}

// A stroke from `from` to `to` in `steps` moves, the pressure rising from
// `first` to `last`.
inline void sendPenStroke(QWidget* widget, QPointF from, QPointF to, int steps, qreal first,
                          qreal last) {
  sendPen(widget, QEvent::TabletPress, from, first, true);
  for (int i = 1; i <= steps; ++i) {
    const qreal t = qreal(i) / steps;
    sendPen(widget, QEvent::TabletMove, from + (to - from) * t, first + (last - first) * t, true);
  }
  sendPen(widget, QEvent::TabletRelease, to, 0, false);
}

}  // namespace taviro::test
