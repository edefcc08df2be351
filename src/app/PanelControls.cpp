#include "app/PanelControls.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <cmath>

#include "ui_Panel.h"

namespace taviro {
namespace {

double scaleOf(const QSlider* slider) {
  const QVariant scale = slider->property("valueScale");
  return scale.isValid() && scale.toDouble() > 0 ? scale.toDouble() : 1.0;
}

bool isControl(const QWidget* w) {
  return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QAbstractSlider*>(w) ||
         qobject_cast<const QComboBox*>(w) || qobject_cast<const QLineEdit*>(w) ||
         qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QLabel*>(w);
}

}  // namespace

int tagOf(const QObject* control) { return control->property("tag").toInt(); }

void setSliderReal(QSlider* slider, double value) {
  slider->setValue(static_cast<int>(std::lround(value / scaleOf(slider))));
}

float sliderReal(const QSlider* slider) {
  return static_cast<float>(slider->value() * scaleOf(slider));
}

QAbstractButton* rotationBoxFor(Ui::Panel& ui, int rotation) {
  switch (rotation) {
    case 0:
      return ui.rotation0CheckBox;
    case 90:
      return ui.rotation90CheckBox;
    case 180:
      return ui.rotation180CheckBox;
    case 270:
      return ui.rotation270CheckBox;
    default:
      return nullptr;
  }
}

void setPageControlsEnabled(QWidget* page, bool enabled) {
  if (!page) return;
  for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (isControl(child)) child->setEnabled(enabled);
  }
}

int displayItemCount(std::size_t displays) {
  return static_cast<int>(displays < 2 ? displays : displays + 1);
}

QString displayItemText(const std::vector<Display>& displays, int index, const Rect& all) {
  const Rect area = displayItemArea(displays, index, all);
  const int w = static_cast<int>(area.size.width);
  const int h = static_cast<int>(area.size.height);
  if (index == 0) return QString::asprintf("디스플레이%ld:W:%d:H:%d(Main)", 1L, w, h);
  if (index < static_cast<int>(displays.size()))
    return QString::asprintf("디스플레이%ld:W:%d:H:%d", long(index) + 1, w, h);
  return QString::asprintf("모든 디스플레이:W:%d:H:%d", w, h);
}

Rect displayItemArea(const std::vector<Display>& displays, int index, const Rect& all) {
  const auto i = static_cast<std::size_t>(index);
  return index >= 0 && i < displays.size() ? displays[i].frame : all;
}

Point movedCursorOffset(Point offset, int code) {
  switch (code) {
    case 1:
      return {offset.x, offset.y - 1};
    case 2:
      return {offset.x + 1, offset.y};
    case 3:
      return {offset.x, offset.y + 1};
    case 4:
      return {offset.x - 1, offset.y};
    case 5:
      return {};
    default:
      return offset;
  }
}

const char* cursorMoveLine(int code) {
  switch (code) {
    case 1:
      return "moving cursor up";
    case 2:
      return "moving cursor right";
    case 3:
      return "moving cursor down";
    case 4:
      return "moving cursor left";
    default:
      return nullptr;
  }
}

int cursorMoveForKey(int key) {
  switch (key) {
    case Qt::Key_Left:
      return 4;
    case Qt::Key_Right:
      return 2;
    case Qt::Key_Down:
      return 3;
    case Qt::Key_Up:
      return 1;
    default:
      return 0;
  }
}

}  // namespace taviro
