#include "views/BTCustomCursorButton.h"

namespace taviro {

BTCustomCursorButton::BTCustomCursorButton(QWidget* parent) : QPushButton(parent) {}

void BTCustomCursorButton::setCustomCursor(std::optional<QCursor> cursor) {
  cursor_ = std::move(cursor);
  // The cursor covers the whole button; Qt keeps it up to date as the button
  // moves or resizes.
  if (cursor_) {
    setCursor(*cursor_);
  } else {
    unsetCursor();
  }
}

}  // namespace taviro
