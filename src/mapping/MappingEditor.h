#pragma once
// The mapping editor without its widget: the two mapped areas in view
// coordinates, their write-back into the driver's settings record at every
// draw, the operations the panel calls, and the pointer editing. The view
// (BTMonitorView) paints what drawRect() returns and forwards pointer events.
//
// Main thread only. The editor writes the driver's record in place and then
// asks the driver to apply it, so the pen follows a drag live.
#include <cstdint>
#include <functional>
#include <optional>

#include "driver/TabletSettings.h"
#include "foundation/Geometry.h"
#include "mapping/AreaConversion.h"
#include "mapping/ViewInfo.h"

namespace taviro {

class BTDriverManager;

// The cursor for what the pointer is over.
enum class EditorCursor { Arrow, OpenHand, SizeHorizontal, SizeVertical };

// What one draw shows, in view coordinates.
struct EditorPicture {
  Rect tabletImageRect;  // where the tablet picture goes
  int rotationIndex = 0;
  Rect tabletFrame;
  Rect tabletArea;
  // The display side; none while the display has no size or the view no
  // room for it.
  std::optional<Rect> monitorFrame;
  Rect monitorArea;
  Size displaySize;  // the chosen display's, in pixels
};

class MappingEditor {
 public:
  using OffsetCallback = std::function<void(double left, double up, double right, double down)>;

  MappingEditor();

  // The driver whose settings record the editor reads and writes, and which
  // it asks to apply them. Null: the editor draws its frames only.
  void setDriver(BTDriverManager* driver);
  // Told the tablet area's fractions whenever they change (the panel's four
  // offset fields).
  void setUpdateTabletOffset(OffsetCallback callback) { _updateTabletOffset = std::move(callback); }
  // Asked for a redraw (the view's update()).
  void setNeedsDisplay(std::function<void()> needsDisplay) {
    needsDisplay_ = std::move(needsDisplay);
  }
  void setVisibleRect(const Rect& visible) { _visibleRect = visible; }

  // A draw: reads an area that is due to be read from the record, writes
  // both areas back, has the driver apply them, and tells what to paint.
  EditorPicture drawRect();

  // The user picked display `index`: it is mapped whole, at once. While
  // settings load, the stored screen area is kept and read again instead.
  void selectMonitorIndex(std::int32_t index);
  std::int32_t monitorIndex() const { return _monitorIndex; }
  // Loading settings: shows the tablet turned by `degrees` (0, 90, 180,
  // 270) and reads the stored tablet area again at the next draw.
  void initTabletRotate(double degrees);
  // The user picked a rotation: as above, but maps the whole tablet.
  void setTabletRotate(double degrees);
  int rotationIndex() const { return _rotationIndex; }
  // Whole tablet (true), or the largest centred area of the screen area's
  // aspect (false).
  void setForceAspect(bool full);
  void setFullScreen();
  // Tablet units per point for the new tablet area (see resizedTabletArea).
  void resizeTabletArea(const Size& factors);
  // (left, up, right − left, down − up) as fractions of the frame. A typed
  // area that is empty, too small or reaches outside the frame changes
  // nothing (the fields are told the area again).
  void adjustTabletOffset(const Rect& fractions);
  TabletOffset getTabletOffset() const;
  // The panel loads its settings (at start, after an import or a reset):
  // both stored areas are read again at the next draw, and picking a display
  // keeps the stored screen area until loading ends.
  void setLoadingSettings(bool loading);

  // Pointer events in view coordinates (Part of the pointer editing, in
  // PointerEditing.cpp). Each asks for a redraw and tells the cursor.
  EditorCursor mouseDown(Point p);
  EditorCursor mouseDragged(Point p);
  EditorCursor mouseMoved(Point p);
  EditorCursor mouseUp(Point p);

  const ViewInfo& monitorViewInfo() const { return _monitorViewInfo; }
  const ViewInfo& tabletViewInfo() const { return _tabletViewInfo; }

 private:
  void tabletUpdate(EditorPicture& picture);
  void monitorUpdate(EditorPicture& picture);
  void rotateTablet(double degrees);
  void reportTabletOffset();
  EditorCursor classify(PointerPhase phase, Point p);
  void moveAreas(Point p);
  void needsDisplay() const;

  BTDriverManager* driver_ = nullptr;
  _settings* _tabletSettings = nullptr;  // the driver's, not owned
  OffsetCallback _updateTabletOffset;
  std::function<void()> needsDisplay_;
  Rect _visibleRect;

  ViewInfo _monitorViewInfo;
  ViewInfo _tabletViewInfo;
  int _rotationIndex = 0;
  std::int32_t _monitorIndex = 0;
  // Draws since an area was read from the record; 0: read it at the next.
  std::int32_t flushMonitorCount = 0;
  std::int32_t flushTabletCount = 0;
  bool loadingSettings_ = false;
  bool monitorShown_ = false;  // the last draw had a display frame
  std::optional<TabletOffset> reportedOffset_;
};

}  // namespace taviro
