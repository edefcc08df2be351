#pragma once
// The mapping editor's widget. It paints the display picture with the mapped
// screen area, the tablet picture for the rotation with the mapped tablet
// area, and dashed lines between the areas' corners, and it turns pointer
// events into the editor's calls. The areas, their maths and their
// write-back into the driver's settings (at every paint, so the pen follows
// a drag live) are the widget-free MappingEditor's.
#include <QImage>
#include <QSvgRenderer>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "mapping/MappingEditor.h"

namespace taviro {

class BTDriverManager;

class BTMonitorView : public QWidget {
  Q_OBJECT
 public:
  using OffsetCallback = MappingEditor::OffsetCallback;
  // A picture of display `index` of the display list, or of the whole
  // desktop past its end; null when there is none (e.g. on Wayland).
  using ScreenShotSource = std::function<QImage(int index)>;
  static constexpr int kScreenRefreshMs = 2000;

  explicit BTMonitorView(QWidget* parent = nullptr);

  // The driver whose settings the editor shows and writes.
  void setDriver(BTDriverManager* driver) { editor_.setDriver(driver); }
  // The panel's four offset fields: told the tablet area's fractions (left,
  // up, right, down) whenever they change.
  void setUpdateTabletOffset(OffsetCallback callback);
  void setScreenShot(ScreenShotSource source) { screenShot_ = std::move(source); }

  // The panel's operations (see MappingEditor).
  void selectMonitorIndex(int index);
  void initTabletRotate(double degrees) { editor_.initTabletRotate(degrees); }
  void setTabletRotate(double degrees) { editor_.setTabletRotate(degrees); }
  void setForceAspect(bool full) { editor_.setForceAspect(full); }
  void setFullScreen() { editor_.setFullScreen(); }
  // Fractions of the active surface: origin (left, up), size (right − left,
  // down − up).
  void adjustTabletOffset(const Rect& fractions) { editor_.adjustTabletOffset(fractions); }
  TabletOffset getTabletOffset() const { return editor_.getTabletOffset(); }
  // Brackets the panel's loading of its settings.
  void setLoadingSettings(bool loading) { editor_.setLoadingSettings(loading); }

  // The display picture is refreshed every kScreenRefreshMs while shown.
  void setShowScreen(bool show);
  bool showScreen() const { return showScreen_; }

  const MappingEditor& editor() const { return editor_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  Point toView(const QPointF& p) const;
  QRectF toWidget(const Rect& r) const;
  void setEditorCursor(EditorCursor cursor);
  void paintDisplay(QPainter& painter, const EditorPicture& picture);
  void refreshScreenShot();

  MappingEditor editor_;
  ScreenShotSource screenShot_;
  QImage monitorScreenImage_;       // the display picture
  QSvgRenderer tabletScreenImage_;  // the tablet picture of tabletImageIndex_
  int tabletImageIndex_ = -1;
  QTimer refreshTimer_;
  bool showScreen_ = false;
};

}  // namespace taviro
