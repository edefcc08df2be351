#pragma once
// The settings panel's controller: loads the panel's controls from the
// driver, follows the driver's notifications, and opens and closes the panel
// window with its animations. The handlers of the individual controls build
// on it.
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <memory>
#include <optional>

#include "foundation/NotificationCenter.h"

class QAnimationGroup;
class QScreen;

namespace taviro {

class BTDriverManager;
class BTPanelView;
class BTPanelViewController;
class BTStatusItemView;

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

  // `floating`: the panel hangs under a tray icon; otherwise it is an
  // ordinary window. The window is created on first use.
  BTPanelViewController(PanelControllerDelegate* delegate, BTDriverManager& driver, bool floating,
                        QObject* parent = nullptr);
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

 signals:
  void hasActivePanelChanged();

 private:
  void awakeFromNib();
  void observeDriver();
  void fillDisplaysCombo();
  QScreen* selectedScreen() const;
  void windowDidResize();
  void applyDriverStatus();
  void showPressure(int pressure);

  PanelControllerDelegate* delegate_;
  BTDriverManager& driver_;
  bool floating_;
  bool hasActivePanel_ = false;
  bool iniConfigStatus_ = false;
  std::unique_ptr<BTPanelView> window_;
  QRect statusRect_;
  std::unique_ptr<QAnimationGroup> openAnimation_;
  std::unique_ptr<QAnimationGroup> closeAnimation_;
  QTimer removeTimer_;
  std::vector<NotificationCenter::Token> observers_;
};

}  // namespace taviro
