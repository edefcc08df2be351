#pragma once
// The settings panel's window. Under a tray icon it floats: frameless, above
// other windows, see-through around its drawn background. Otherwise (no tray,
// or a desktop where a window cannot place itself) it is an ordinary window
// of fixed size with Taviro's icon. Either way it takes the keyboard focus
// like any window and reports Escape, closing, frame changes and the keys no
// control took to its controller.
#include <QWidget>
#include <memory>

namespace Ui {
class Panel;
}

namespace taviro {

class BTPanelView : public QWidget {
  Q_OBJECT
 public:
  explicit BTPanelView(bool floating, QWidget* parent = nullptr);
  ~BTPanelView() override;

  Ui::Panel& ui() { return *ui_; }
  bool isFloating() const { return floating_; }

 signals:
  void cancelOperation();
  void windowWillClose();
  void windowDidResize();
  void keyDown(QKeyEvent* event);
  void keyUp(QKeyEvent* event);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  std::unique_ptr<Ui::Panel> ui_;
  bool floating_;
};

}  // namespace taviro
