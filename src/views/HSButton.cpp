#include "views/HSButton.h"

#include <QPointer>
#include <vector>

namespace taviro {
namespace {

// Every hover button of the process. Buttons stay listed for the process's
// life; one that Qt deleted reads as null and is skipped.
std::vector<QPointer<HSButton>>& allButtons() {
  static std::vector<QPointer<HSButton>> buttons;
  return buttons;
}

}  // namespace

HSButton::HSButton(QWidget* parent) : QPushButton(parent) {
  setMouseTracking(true);
  setFlat(true);
  allButtons().emplace_back(this);
}

void HSButton::setHover(bool hover) {
  hover_ = hover;
  update();
}

void HSButton::paintEvent(QPaintEvent* event) {
  // Painting decides visibility from the hover flag, except for the one paint
  // that hides the button because another one was hovered.
  if (hiddenUntilRepaint_) {
    hiddenUntilRepaint_ = false;
    shown_ = false;
    return;
  }
  shown_ = hover_;
  if (shown_) QPushButton::paintEvent(event);
}

void HSButton::enterEvent(QEnterEvent* event) {
  QPushButton::enterEvent(event);
  // Hovering counts only while the button's window is the active one, so
  // passing over a panel that lost the focus changes nothing.
  if (!isActiveWindow()) return;
  hover_ = true;
  hiddenUntilRepaint_ = false;
  emit clicked(false);
  update();
  for (const QPointer<HSButton>& other : allButtons()) {
    if (other && other != this) other->hideUntilRepainted();
  }
}

void HSButton::hideUntilRepainted() {
  shown_ = false;
  hiddenUntilRepaint_ = true;
  update();
}

}  // namespace taviro
