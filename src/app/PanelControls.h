#pragma once
// Small helpers between the panel's controls and the driver's values.
#include <QList>
#include <QRect>
#include <QStringList>

class QAbstractButton;
class QSlider;
class QWidget;

namespace Ui {
class Panel;
}

namespace taviro {

// Sliders hold integers; a real-valued one carries its step in the dynamic
// property "valueScale" (1 when unset).
void setSliderReal(QSlider* slider, double value);

// The box of a stored rotation (0, 90, 180, 270); null for any other value.
QAbstractButton* rotationCheckBox(Ui::Panel& ui, int rotation);

// Enables or disables the controls lying directly on `page`; views, progress
// bars and deeper levels stay as they are.
void setPageControlsEnabled(QWidget* page, bool enabled);

// The displays' geometries in display-list order (primary first).
QList<QRect> orderedScreenGeometries();

// The display list's texts: one per display, and with two or more displays a
// last entry for all of them together.
QStringList displayItemTexts(const QList<QRect>& displays);

}  // namespace taviro
