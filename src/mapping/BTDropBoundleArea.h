#pragma once
// The area tracker: classifies the pointer against the four edge bands and
// the inside of one area, and drags the edge a press grabbed. Whole-area
// moves are the editor's (MappingEditor). The tracker edits the area in
// place; it never lets an edge cross the frame or the area shrink below
// kMinimumAreaSide, dropping such a step whole.
#include <cstdint>

#include "foundation/Geometry.h"

namespace taviro {

// What an area is doing under the pointer (a ViewInfo's `_monitorDrop`, a
// tracker's `orient`).
enum DropState : std::int32_t {
  kDropMove = -1,  // moving the whole area (or, hovering, inside it)
  kDropIdle = -2,
  kDropLeft = 0,
  kDropRight = 1,
  kDropBottom = 2,
  kDropTop = 3,
};

enum class PointerPhase { Press, Drag, Release, Moved };

class BTDropBoundleArea {
 public:
  // `mainRect` is the area it edits, `originalRect` the frame that holds it;
  // both must outlive the tracker.
  BTDropBoundleArea(Rect* mainRect, const Rect* originalRect)
      : _mainRect(mainRect), _originalRect(originalRect) {}

  // Classifies `p`, bands before the inside, in the order left, right, top,
  // bottom: corners therefore belong to the left or right band. An edge
  // grabbed by a press stays grabbed until the release, unless the pointer
  // enters a band tested before it. For an edge, runs resizeMainRect.
  std::int32_t update(PointerPhase phase, Point p);
  // A press grabs the edge `orient`, a release lets go, and a drag moves the
  // grabbed edge by the pointer's step. Drags without a grabbed edge (a
  // press elsewhere, crossing this band) change nothing.
  void resizeMainRect(PointerPhase phase, Point p, std::int32_t orient);

  std::int32_t orient = kDropIdle;
  bool isResize() const { return _isResize; }

 private:
  void moveEdge(std::int32_t edge, Point d);

  Rect _left, _right, _top, _buttom;
  Rect* _mainRect;
  const Rect* _originalRect;
  Point _movePoint;
  bool _isResize = false;
};

}  // namespace taviro
