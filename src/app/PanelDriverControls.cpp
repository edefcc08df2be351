// The panel's driver controls: pressure, smoothing, dead zone, mouse and
// express-key modes, rotation, the display list and switch, the display
// flags, the mapping buttons and the cursor offset. Each handler reads its
// control and calls one setter of the driver, the display manager or the
// mapping editor; none saves by itself.
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSlider>

#include "app/BTPanelView.h"
#include "app/BTPanelViewController.h"
#include "app/PanelControls.h"
#include "display/ScreenGeometry.h"
#include "driver/BTDriverManager.h"
#include "foundation/Log.h"
#include "platform/qt/QtDisplayServices.h"
#include "ui_Panel.h"
#include "views/MonitorFlag.h"

namespace taviro {
namespace {

// Keys that only modify others never nudge the cursor.
bool isModifierKey(int key) {
  return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
         key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_CapsLock ||
         key == Qt::Key_Super_L || key == Qt::Key_Super_R;
}

}  // namespace

void BTPanelViewController::connectDriverControls() {
  Ui::Panel& ui = window_->ui();
  connect(ui.pressureSlider, &QSlider::valueChanged, this,
          &BTPanelViewController::didChangePressureSlider);
  connect(ui.smoothingSlider, &QSlider::valueChanged, this,
          &BTPanelViewController::didChangeSmoothingSlider);
  connect(ui.penPressureDeadZoom, &QSlider::valueChanged, this,
          &BTPanelViewController::didChangeDeadZone);
  connect(ui.enableMouseButton, &QCheckBox::clicked, this, &BTPanelViewController::setMouseMode);
  connect(ui.enableShortcutButton, &QCheckBox::clicked, this,
          &BTPanelViewController::enableShortcutMode);
  for (QAbstractButton* box : {ui.rotation0CheckBox, ui.rotation90CheckBox, ui.rotation180CheckBox,
                               ui.rotation270CheckBox}) {
    connect(box, &QAbstractButton::clicked, this, [this, box] { rotationCheckBox(box); });
  }
  // Whatever selects an item (the user, the display switch) makes the list
  // fetch its text, then apply the selection.
  connect(ui.displaysCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index < 0) return;
    comboBoxObjectValueForItemAtIndex(index);
    comboBoxSelectionDidChange();
  });
  connect(ui.showMonitorFlagButton, &QPushButton::clicked, this,
          &BTPanelViewController::showMonitorFlag);
  for (QPushButton* area : {ui.applyFullTabletButton, ui.applyForceTabletButton}) {
    connect(area, &QPushButton::clicked, this, [this, area] { forceAspectButton(tagOf(area)); });
  }
  connect(ui.resetFullScreenButton, &QPushButton::clicked, this,
          &BTPanelViewController::ResetFullScreenButtom);
  for (QPushButton* arrow : {ui.cursorUpButton, ui.cursorRightButton, ui.cursorDownButton,
                             ui.cursorLeftButton, ui.cursorResetButton}) {
    connect(arrow, &QPushButton::clicked, this,
            [this, arrow] { didClickCusrorButton(tagOf(arrow)); });
  }
  // A click on a button leaves the keyboard where it was (as on the panel's
  // background), so the arrow keys go on nudging the cursor; Tab still
  // reaches every button.
  for (QAbstractButton* button : window_->findChildren<QAbstractButton*>())
    button->setFocusPolicy(Qt::TabFocus);
  connect(window_.get(), &BTPanelView::keyDown, this, &BTPanelViewController::keyDown);
  connect(window_.get(), &BTPanelView::keyUp, this, &BTPanelViewController::keyUp);
  cursorUpdateTimer_.setInterval(kCursorRepeatMs);
  connect(&cursorUpdateTimer_, &QTimer::timeout, this,
          [this] { updateCursorPositionWithIndex(cursorMoveAction_); });
}

void BTPanelViewController::didChangePressureSlider() {
  driver_.setPressureDamping(1.0f - sliderReal(window_->ui().pressureSlider));
}

void BTPanelViewController::didChangeSmoothingSlider() {
  driver_.setSmoothingLevel(window_->ui().smoothingSlider->value());
}

void BTPanelViewController::didChangeDeadZone() {
  driver_.setPressureDeadZone(sliderReal(window_->ui().penPressureDeadZoom));
}

void BTPanelViewController::setMouseMode(bool on) { driver_.setEnableMouse(on); }

void BTPanelViewController::enableShortcutMode(bool on) { driver_.setEnableShourtcut(on); }

void BTPanelViewController::rotationCheckBox(QAbstractButton* sender) {
  Ui::Panel& ui = window_->ui();
  int rotation = 0;
  if (sender == ui.rotation90CheckBox) rotation = 90;
  if (sender == ui.rotation180CheckBox) rotation = 180;
  if (sender == ui.rotation270CheckBox) rotation = 270;
  ui.monitorView->setTabletRotate(rotation);
  driver_.setTabletRotation(rotation);
}

std::vector<Display> BTPanelViewController::displays() const {
  const DisplayServices* services = driver_.platform().displays;
  return services ? services->activeDisplays() : std::vector<Display>{};
}

int BTPanelViewController::numberOfItemsInComboBox() const {
  return displayItemCount(displays().size());
}

QString BTPanelViewController::comboBoxObjectValueForItemAtIndex(int index) {
  const std::vector<Display> list = displays();
  const Rect all = allScreenSize(*driver_.platform().displays);
  if (iniConfigStatus_) driver_.setScreenArea(displayItemArea(list, index, all));
  driver_.setDisplayId(index);
  return displayItemText(list, index, all);
}

// Fills the list without touching the driver: texts only, the selection kept.
void BTPanelViewController::fillDisplaysCombo() {
  QComboBox* combo = window_->ui().displaysCombo;
  const std::vector<Display> list = displays();
  const Rect all = allScreenSize(*driver_.platform().displays);
  const QSignalBlocker quiet(combo);
  const int selected = combo->currentIndex();
  combo->clear();
  for (int i = 0; i < displayItemCount(list.size()); ++i)
    combo->addItem(displayItemText(list, i, all));
  combo->setCurrentIndex(selected);
}

void BTPanelViewController::comboBoxSelectionDidChange() {
  const int selected = window_->ui().displaysCombo->currentIndex();
  // Nothing selected (a stored display past the list): the stored one stays.
  const int index = selected >= 0 ? selected : driver_.displayId();
  driver_.setDisplayId(index);
  driver_.screenManager().setTargetScreen(
      yk_objectAtIndex(displays(), static_cast<std::size_t>(index)));
  window_->ui().monitorView->selectMonitorIndex(index);
}

void BTPanelViewController::didChangeMonitor() {
  if (!window_) return;
  const int count = static_cast<int>(displays().size());
  if (count < 2) return;
  QComboBox* combo = window_->ui().displaysCombo;
  const int selected = combo->currentIndex() < 0 ? count : combo->currentIndex();
  combo->setCurrentIndex(selected < count - 1 ? selected + 1 : 0);
}

void BTPanelViewController::showMonitorFlag() {
  const QList<QScreen*> screens = orderedScreens();
  for (int i = 0; i < screens.size(); ++i) {
    auto* flag = new MonitorFlag;
    // Screens of separate X screens share coordinates: name the screen too.
    flag->setScreen(screens[i]);
    flag->show();
    flag->moveLowerLeftTo(screens[i]->geometry().center());
    flag->SetFlag(i + 1);
  }
}

// Tag 1 (비율 유지) keeps the screen area's aspect, any other (전체 영역) maps
// the whole tablet; the other button of the pair goes off.
void BTPanelViewController::forceAspectButton(int tag) {
  Ui::Panel& ui = window_->ui();
  ui.monitorView->setForceAspect(tag != 1);
  (tag == 1 ? ui.applyFullTabletButton : ui.applyForceTabletButton)->setChecked(false);
}

void BTPanelViewController::ResetFullScreenButtom() { window_->ui().monitorView->setFullScreen(); }

void BTPanelViewController::didClickCusrorButton(int tag) { updateCursorPositionWithIndex(tag); }

void BTPanelViewController::updateCursorPositionWithIndex(qint32 code) {
  if (const char* line = cursorMoveLine(code)) logBare("%s", line);
  driver_.setCursorOffset(movedCursorOffset(driver_.cursorOffset(), code));
}

void BTPanelViewController::keyDown(QKeyEvent* event) {
  if (isModifierKey(event->key())) return;
  if (const int move = cursorMoveForKey(event->key())) cursorMoveAction_ = move;
  // Any other key repeats the last arrow's move, at once and every 0.3 s
  // while it is held.
  cursorUpdateTimer_.start();
  updateCursorPositionWithIndex(cursorMoveAction_);
}

void BTPanelViewController::keyUp() { cursorUpdateTimer_.stop(); }

}  // namespace taviro
