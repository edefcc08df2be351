// The mapping editor's pointer editing: which area a press, drag, hover or
// release concerns, whole-area moves, and the cursor.
#include "mapping/MappingEditor.h"
#include "mapping/MappingGeometry.h"

namespace taviro {
namespace {

EditorCursor cursorFor(std::int32_t state) {
  switch (state) {
    case kDropLeft:
    case kDropRight:
      return EditorCursor::SizeHorizontal;
    case kDropBottom:
    case kDropTop:
      return EditorCursor::SizeVertical;
    case kDropMove:
      return EditorCursor::OpenHand;
    default:
      return EditorCursor::Arrow;
  }
}

// Where a press starts a whole-area move: the area less the left and bottom
// bands (the tracker claims the other two bands first).
bool startsMove(const Rect& a, Point p) {
  return pointInRect(p, Rect(a.minX() + kEdgeBandWidth, a.minY() + kEdgeBandWidth,
                             a.size.width - kEdgeBandWidth, a.size.height - kEdgeBandWidth));
}

}  // namespace

// The display area answers first; the tablet area only when the pointer
// means nothing to the display area. The display area takes no part while
// it is not shown.
EditorCursor MappingEditor::classify(PointerPhase phase, Point p) {
  std::int32_t state = kDropIdle;
  if (monitorShown_) {
    state = _monitorViewInfo._monitorDrop = _monitorViewInfo._dropBoundleArea->update(phase, p);
  }
  if (state == kDropIdle) {
    state = _tabletViewInfo._monitorDrop = _tabletViewInfo._dropBoundleArea->update(phase, p);
  }
  needsDisplay();
  return cursorFor(state);
}

EditorCursor MappingEditor::mouseDown(Point p) {
  for (ViewInfo* info : {&_monitorViewInfo, &_tabletViewInfo}) {
    const bool inside =
        (info == &_tabletViewInfo || monitorShown_) && startsMove(info->_monitorDropArea, p);
    info->_monitorDrop = inside ? kDropMove : kDropIdle;
    if (inside) info->_monitorPoint = p;
  }
  const EditorCursor cursor = classify(PointerPhase::Press, p);
  for (ViewInfo* info : {&_monitorViewInfo, &_tabletViewInfo}) {
    info->grabbed = info->_monitorDrop == kDropMove;
  }
  return cursor;
}

EditorCursor MappingEditor::mouseDragged(Point p) {
  const EditorCursor cursor = classify(PointerPhase::Drag, p);
  moveAreas(p);
  return cursor;
}

EditorCursor MappingEditor::mouseMoved(Point p) { return classify(PointerPhase::Moved, p); }

// A release ends every move and edge drag of both areas, wherever it
// happens: an edge held by one area's tracker must not stay stuck to the
// pointer because the release was over the other area.
EditorCursor MappingEditor::mouseUp(Point p) {
  for (ViewInfo* info : {&_monitorViewInfo, &_tabletViewInfo}) {
    info->_dropBoundleArea->resizeMainRect(PointerPhase::Release, p, kDropIdle);
    info->grabbed = false;
    info->_monitorDrop = kDropIdle;
  }
  return classify(PointerPhase::Release, p);
}

// A move that would leave the frame is dropped whole, not clamped: the
// pointer slides over the area at the frame's edge.
void MappingEditor::moveAreas(Point p) {
  for (ViewInfo* info : {&_monitorViewInfo, &_tabletViewInfo}) {
    if (info->_monitorDrop != kDropMove || !info->grabbed) continue;
    Rect candidate = info->_monitorDropArea;
    candidate.origin.x += p.x - info->_monitorPoint.x;
    candidate.origin.y += p.y - info->_monitorPoint.y;
    if (containsRect(info->_monitorRect, candidate)) info->_monitorDropArea = candidate;
    info->_monitorPoint = p;
  }
}

}  // namespace taviro
