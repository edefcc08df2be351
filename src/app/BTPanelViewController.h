#pragma once
// The settings panel's controller: loads the panel's controls from the
// driver, follows the driver's notifications, opens and closes the panel
// window with its animations, and forwards every change the user makes to the
// driver, the display manager or the mapping editor.
//
// Its parts live in files of their own: the window and its lifecycle here,
// the driver controls, displays and cursor offset in PanelDriverControls.cpp,
// the express-key page, settings files and maintenance buttons in
// PanelActions.cpp.
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "foundation/NotificationCenter.h"
#include "platform/qt/QtMainQueue.h"

class QAbstractButton;
class QAnimationGroup;
class QFileDialog;
class QKeyEvent;
class QScreen;

namespace Ui {
class Panel;
}

namespace taviro {

class BTDriverManager;
class BTPanelView;
class BTPanelViewController;
class BTStatusItemView;
class Configure;
class PrivilegedExecutor;
struct Display;

class PanelControllerDelegate {
 public:
  virtual ~PanelControllerDelegate() = default;
  // The status item the panel hangs from; null when there is none.
  virtual BTStatusItemView* statusItemViewForPanelController(BTPanelViewController& controller) = 0;
};

class BTPanelViewController : public QObject {
  Q_OBJECT
  Q_PROPERTY(
      bool hasActivePanel READ hasActivePanel WRITE setHasActivePanel NOTIFY hasActivePanelChanged)
 public:
  static constexpr int kOpenDurationMs = 150;
  static constexpr int kSlowOpenDurationMs = 1500;
  static constexpr int kCloseDurationMs = 100;
  static constexpr int kRemoveDelayMs = 200;
  static constexpr int kCursorRepeatMs = 300;

  // `floating`: the panel hangs under a tray icon; otherwise it is an
  // ordinary window. The window is created on first use.
  BTPanelViewController(PanelControllerDelegate* delegate, BTDriverManager& driver,
                        Configure& shortcuts, bool floating, QObject* parent = nullptr);
  ~BTPanelViewController() override;

  bool hasActivePanel() const { return hasActivePanel_; }
  // Opens on a change to true, closes on a change to false; observers hear of
  // every call.
  void setHasActivePanel(bool active);

  BTPanelView& window();
  bool isWindowLoaded() const { return window_ != nullptr; }

  void openPanel();
  void closePanel();
  // The rectangle the panel grows out of, on `display`.
  QRect statusRectForWindow(const QRect& display);

  void initConfig();
  bool iniConfigStatus() const { return iniConfigStatus_; }

  // The offset fields' apply: the tablet area from the four fractions (a
  // field without a number reads as 0).
  void adjustTabletOffset();

  // Refreshes the connection display; the work is queued to the main thread.
  void didChangeDriverStatus();
  void segmentedControlClick(int segment);

  // ---- Driver controls, displays and cursor offset (PanelDriverControls.cpp)
  void didChangePressureSlider();
  void didChangeSmoothingSlider();
  void didChangeDeadZone();
  void setMouseMode(bool on);
  void enableShortcutMode(bool on);
  void rotationCheckBox(QAbstractButton* sender);
  // The display list: N items for fewer than two displays, else N + 1, the
  // last standing for all of them.
  int numberOfItemsInComboBox() const;
  // Item i's text. Asking for it makes display i the driver's display and,
  // once the panel has loaded, its screen area that display.
  QString comboBoxObjectValueForItemAtIndex(int index);
  void comboBoxSelectionDidChange();
  // The express-key display switch: the next display, never all of them.
  void didChangeMonitor();
  void showMonitorFlag();
  void forceAspectButton(int tag);
  void ResetFullScreenButtom();
  void didClickCusrorButton(int tag);
  void updateCursorPositionWithIndex(qint32 code);
  qint32 cursorMoveAction() const { return cursorMoveAction_; }

  // ---- Express keys, settings files and actions (PanelActions.cpp)
  void setTabletShortcut(int tag);
  void updateSettings();
  // Opens a shortcut editor for key `tag`; one more on every click.
  void showShortcutSettings(int tag);
  // The tip of an express key going down, for keys 0 to 4, on the display
  // selected in the panel.
  void showShortcutTips(int kid);
  void applySetting(int tag);
  void exportSettings();
  void importSettings();
  void defaultSettings();
  void didClickImproveSpeed();
  void didClickRefresh();

 signals:
  void hasActivePanelChanged();

 private:
  void awakeFromNib();
  void observeNotifications();
  void putAway();
  QScreen* selectedScreen() const;
  void windowDidResize();
  void applyDriverStatus();
  void showPressure(int pressure);
  void keepPageButtonsInStep();

  // PanelDriverControls.cpp
  void connectDriverControls();
  void fillDisplaysCombo();
  std::vector<Display> displays() const;
  void keyDown(QKeyEvent* event);
  void keyUp();

  // PanelActions.cpp
  void connectActions();
  QFileDialog* settingsFileDialog(const QString& message);
  // Shows `text` in an alert on the panel; `reason` as its details.
  void alert(const QString& text, const QString& reason = {});
  // Asks whether to drop the unsaved settings; runs `then` on "예".
  void confirmLoss(std::function<void()> then);
  void importFile(const QString& path);
  void reloadSettings();

  PanelControllerDelegate* delegate_;
  BTDriverManager& driver_;
  Configure& shortcuts_;
  bool floating_;
  bool hasActivePanel_ = false;
  bool iniConfigStatus_ = false;
  std::unique_ptr<BTPanelView> window_;
  QRect statusRect_;
  std::unique_ptr<QAnimationGroup> openAnimation_;
  std::unique_ptr<QAnimationGroup> closeAnimation_;
  QTimer removeTimer_;
  std::vector<NotificationCenter::Token> observers_;
  QTimer cursorUpdateTimer_;
  qint32 cursorMoveAction_ = 0;
  std::unique_ptr<PrivilegedExecutor> privilegedExecutor_;
  QtMainQueue mainQueue_{this};
};

}  // namespace taviro
