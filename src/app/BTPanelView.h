#pragma once
// The settings panel's window: frameless, above other windows, see-through
// around its drawn background. It takes the keyboard focus like any window,
// and reports Escape, closing and frame changes to its controller.
#include <QWidget>
#include <memory>

namespace Ui {
class Panel;
}

namespace taviro {

class BTPanelView : public QWidget {
  Q_OBJECT
 public:
  // `floating`: a panel under a tray icon; otherwise an ordinary window (for
  // desktops without a tray).
  explicit BTPanelView(bool floating, QWidget* parent = nullptr);
  ~BTPanelView() override;

  Ui::Panel& ui() { return *ui_; }

 signals:
  void cancelOperation();
  void windowWillClose();
  void windowDidResize();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  std::unique_ptr<Ui::Panel> ui_;
};

}  // namespace taviro
