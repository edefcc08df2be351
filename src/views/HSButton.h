#pragma once
// A button that acts on hover: entering it while its window is active shows
// it, fires its action and hides every other such button. Its hover flag is never cleared, so a hidden
// button that was hovered before shows again the next time it is painted.
#include <QPushButton>

namespace taviro {

class HSButton : public QPushButton {
  Q_OBJECT
 public:
  explicit HSButton(QWidget* parent = nullptr);

  bool hover() const { return hover_; }
  void setHover(bool hover);
  // Whether the button currently shows (its opacity is 1).
  bool isShown() const { return shown_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;

 private:
  void hideUntilRepainted();

  bool hover_ = false;
  bool shown_ = false;
  bool hiddenUntilRepaint_ = false;
};

}  // namespace taviro
