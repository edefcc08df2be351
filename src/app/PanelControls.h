#pragma once
// Small helpers between the panel's controls and the driver's values: slider
// scales, the rotation boxes, the display list's items and the cursor-offset
// moves.
#include <QString>
#include <vector>

#include "display/DisplayServices.h"
#include "foundation/Geometry.h"

class QAbstractButton;
class QObject;
class QSlider;
class QWidget;

namespace Ui {
class Panel;
}

namespace taviro {

// A control's number in the interface file (its "tag" property; 0 when unset).
int tagOf(const QObject* control);

// Sliders hold integers; a real-valued one carries its step in the dynamic
// property "valueScale" (1 when unset).
void setSliderReal(QSlider* slider, double value);
float sliderReal(const QSlider* slider);

// The box of a stored rotation (0, 90, 180, 270); null for any other value.
QAbstractButton* rotationBoxFor(Ui::Panel& ui, int rotation);

// Enables or disables the controls lying directly on `page`; views, progress
// bars and deeper levels stay as they are.
void setPageControlsEnabled(QWidget* page, bool enabled);

// The display list: one item per display and, with two or more, a last one
// for all of them together (`all`, the union of their bounds).
int displayItemCount(std::size_t displays);
QString displayItemText(const std::vector<Display>& displays, int index, const Rect& all);
// The area item `index` stands for: the display's frame, or `all`.
Rect displayItemArea(const std::vector<Display>& displays, int index, const Rect& all);

// Cursor-offset moves: 1 up, 2 right, 3 down, 4 left, 5 back to (0, 0); any
// other code leaves the offset.
Point movedCursorOffset(Point offset, int code);
// The log line of a move; null for codes without one.
const char* cursorMoveLine(int code);
// The move of an arrow key (a Qt key code); 0 for any other key.
int cursorMoveForKey(int key);

}  // namespace taviro
