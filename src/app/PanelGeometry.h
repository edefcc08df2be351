#pragma once
// Where the settings panel opens: centred at the top of the chosen display,
// hanging just under the status bar, whatever display holds the icon. All
// rectangles are Qt global coordinates (origin top-left, y down).
#include <QRect>
#include <optional>

namespace taviro {

inline constexpr int kPanelWidth = 681;
inline constexpr int kPanelHeight = 571;
inline constexpr int kPanelRightInset = 8;
inline constexpr int kStatusItemLength = 24;
inline constexpr int kStatusBarThickness = 22;

// Rounds to nearest, halves away from zero, in single precision.
int roundSingle(double value);

// The rectangle the panel grows out of on `display`: as large as the status
// item (or 24 × the status-bar thickness without one), centred horizontally,
// one item height below the display's top edge.
QRect statusRectForDisplay(const QRect& display, std::optional<QSize> statusItemSize);

// The open panel: 681 × 571, centred under `status`, its top on the status
// rectangle's top; moved left so its right edge stays 8 inside the display.
QRect panelRectForStatus(const QRect& display, const QRect& status);

// The background arrow's tip in window coordinates for a window at `windowX`.
int arrowXFor(const QRect& status, int windowX);

}  // namespace taviro
