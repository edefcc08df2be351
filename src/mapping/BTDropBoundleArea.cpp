#include "mapping/BTDropBoundleArea.h"

#include "mapping/MappingGeometry.h"

namespace taviro {
namespace {

// A step may shrink a side only down to the minimum; growing is always
// fine (a stored area may start out smaller).
bool keepsMinimum(double oldSide, double newSide) {
  return newSide >= kMinimumAreaSide || newSide >= oldSide;
}

}  // namespace

std::int32_t BTDropBoundleArea::update(PointerPhase phase, Point p) {
  const Rect a = *_mainRect;
  const double b = kEdgeBandWidth;
  _left = Rect(a.minX(), a.minY(), b, a.size.height);
  _right = Rect(a.maxX() - b, a.minY(), b, a.size.height);
  _top = Rect(a.minX(), a.maxY() - b, a.size.width, b);
  _buttom = Rect(a.minX(), a.minY(), a.size.width, b);

  const auto held = [this](std::int32_t edge) { return _isResize && orient == edge; };
  std::int32_t result = kDropIdle;
  if (pointInRect(p, _left) || held(kDropLeft)) {
    result = kDropLeft;
  } else if (pointInRect(p, _right) || held(kDropRight)) {
    result = kDropRight;
  } else if (pointInRect(p, _top) || held(kDropTop)) {
    result = kDropTop;
  } else if (pointInRect(p, _buttom) || held(kDropBottom)) {
    result = kDropBottom;
  } else if (pointInRect(p, a)) {
    result = kDropMove;
  }
  orient = result;
  if (result >= kDropLeft) resizeMainRect(phase, p, result);
  return result;
}

void BTDropBoundleArea::resizeMainRect(PointerPhase phase, Point p, std::int32_t edge) {
  switch (phase) {
    case PointerPhase::Press:
      _movePoint = p;
      _isResize = true;
      break;
    case PointerPhase::Release:
      _isResize = false;
      break;
    case PointerPhase::Drag:
      if (_isResize) {
        const Point d{p.x - _movePoint.x, p.y - _movePoint.y};
        _movePoint = p;
        moveEdge(edge, d);
      }
      break;
    case PointerPhase::Moved:
      break;
  }
}

void BTDropBoundleArea::moveEdge(std::int32_t edge, Point d) {
  Rect& a = *_mainRect;
  const Rect& o = *_originalRect;
  switch (edge) {
    case kDropLeft:
      if (a.minX() + d.x >= o.minX() && keepsMinimum(a.size.width, a.size.width - d.x)) {
        a.origin.x += d.x;
        a.size.width -= d.x;
      }
      break;
    case kDropRight:
      if (a.maxX() + d.x <= o.maxX() && keepsMinimum(a.size.width, a.size.width + d.x)) {
        a.size.width += d.x;
      }
      break;
    case kDropBottom:
      if (a.minY() + d.y >= o.minY() && keepsMinimum(a.size.height, a.size.height - d.y)) {
        a.origin.y += d.y;
        a.size.height -= d.y;
      }
      break;
    case kDropTop:
      if (a.maxY() + d.y <= o.maxY() && keepsMinimum(a.size.height, a.size.height + d.y)) {
        a.size.height += d.y;
      }
      break;
    default:
      break;
  }
}

}  // namespace taviro
