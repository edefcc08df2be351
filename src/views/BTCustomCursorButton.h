#pragma once
// A button that shows its own pointer shape while the pointer is over it;
// without one it keeps the usual button pointer.
#include <QPushButton>
#include <optional>

namespace taviro {

class BTCustomCursorButton : public QPushButton {
  Q_OBJECT
 public:
  explicit BTCustomCursorButton(QWidget* parent = nullptr);

  const std::optional<QCursor>& customCursor() const { return cursor_; }
  void setCustomCursor(std::optional<QCursor> cursor);

 private:
  std::optional<QCursor> cursor_;
};

}  // namespace taviro
