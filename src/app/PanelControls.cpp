#include "app/PanelControls.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSlider>
#include <cmath>

#include "platform/qt/QtDisplayServices.h"
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

void setSliderReal(QSlider* slider, double value) {
  slider->setValue(static_cast<int>(std::lround(value / scaleOf(slider))));
}

QAbstractButton* rotationCheckBox(Ui::Panel& ui, int rotation) {
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

QList<QRect> orderedScreenGeometries() {
  QList<QRect> geometries;
  for (const QScreen* screen : orderedScreens()) geometries << screen->geometry();
  return geometries;
}

QStringList displayItemTexts(const QList<QRect>& displays) {
  QStringList texts;
  QRect all;
  for (qsizetype i = 0; i < displays.size(); ++i) {
    const QRect& d = displays[i];
    all = all.united(d);
    texts << (i == 0 ? QString::asprintf("디스플레이%ld:W:%d:H:%d(Main)", 1L, d.width(), d.height())
                     : QString::asprintf("디스플레이%ld:W:%d:H:%d", long(i + 1), d.width(),
                                         d.height()));
  }
  if (displays.size() >= 2) {
    texts << QString::asprintf("모든 디스플레이:W:%d:H:%d", all.width(), all.height());
  }
  return texts;
}

}  // namespace taviro
