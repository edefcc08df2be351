#pragma once
// PLACEHOLDER for the mapping editor. It keeps what the panel hands it (the
// driver's live settings record, the offset-field callback, rotation and
// whether to show the display picture) and paints a marked empty frame; the
// editor itself replaces this class.
#include <QWidget>
#include <functional>

#include "driver/TabletSettings.h"

namespace taviro {

class BTMonitorView : public QWidget {
  Q_OBJECT
 public:
  using OffsetCallback = std::function<void(double left, double top, double right, double bottom)>;

  explicit BTMonitorView(QWidget* parent = nullptr);

  void setTabletSettings(_settings* settings) { tabletSettings_ = settings; }
  _settings* tabletSettings() const { return tabletSettings_; }
  void setUpdateTabletOffset(OffsetCallback callback) { updateTabletOffset_ = std::move(callback); }
  void initTabletRotate(double degrees) { rotation_ = degrees; }
  double tabletRotate() const { return rotation_; }
  void setShowScreen(bool show) { showScreen_ = show; }
  bool showScreen() const { return showScreen_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  _settings* tabletSettings_ = nullptr;  // the driver's, not owned
  OffsetCallback updateTabletOffset_;
  double rotation_ = 0.0;
  bool showScreen_ = false;
};

}  // namespace taviro
