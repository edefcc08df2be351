#pragma once
// Points, sizes and rectangles in doubles, with the few rectangle operations
// the display mapping and the editors need. Rectangles may have any origin;
// a "null" rectangle (the union's identity) is flagged explicitly.
#include <algorithm>
#include <limits>

namespace taviro {

struct Point {
  double x = 0;
  double y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  double width = 0;
  double height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  Point origin;
  Size size;

  constexpr Rect() = default;
  constexpr Rect(double x, double y, double w, double h) : origin{x, y}, size{w, h} {}

  double minX() const { return origin.x; }
  double minY() const { return origin.y; }
  double maxX() const { return origin.x + size.width; }
  double maxY() const { return origin.y + size.height; }
  bool isEmpty() const { return size.width <= 0 || size.height <= 0; }
  // The null rectangle: what the union of nothing is.
  static Rect null() {
    constexpr double inf = std::numeric_limits<double>::infinity();
    return Rect(inf, inf, 0, 0);
  }
  bool isNull() const { return origin.x == std::numeric_limits<double>::infinity(); }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// Smallest rectangle holding both; a null or empty side leaves the other.
inline Rect unionRect(const Rect& a, const Rect& b) {
  if (a.isNull() || a.isEmpty()) return b;
  if (b.isNull() || b.isEmpty()) return a;
  const double x = std::min(a.minX(), b.minX());
  const double y = std::min(a.minY(), b.minY());
  return Rect(x, y, std::max(a.maxX(), b.maxX()) - x, std::max(a.maxY(), b.maxY()) - y);
}

}  // namespace taviro
