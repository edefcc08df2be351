#include "app/PanelGeometry.h"

#include <cmath>

namespace taviro {

int roundSingle(double value) { return static_cast<int>(std::lround(static_cast<float>(value))); }

QRect statusRectForDisplay(const QRect& display, std::optional<QSize> statusItemSize) {
  const QSize item = statusItemSize.value_or(QSize(kStatusItemLength, kStatusBarThickness));
  // The display origin counts also without a status item, so the panel opens
  // on the chosen display rather than at the same place on the first one.
  const int x = display.x() + roundSingle((display.width() - item.width()) / 2.0);
  return QRect(QPoint(x, display.y() + item.height()), item);
}

QRect panelRectForStatus(const QRect& display, const QRect& status) {
  int x = roundSingle(status.x() + status.width() / 2.0 - kPanelWidth / 2.0);
  const int limit = display.x() + display.width() - kPanelRightInset;
  if (x + kPanelWidth > limit) x -= x + kPanelWidth - limit;
  return QRect(x, status.y(), kPanelWidth, kPanelHeight);
}

int arrowXFor(const QRect& status, int windowX) {
  return roundSingle(status.x() + status.width() / 2.0) - windowX;
}

}  // namespace taviro
