#include "HeadlessDisplays.h"

#include <charconv>

#include "display/ScreenGeometry.h"

namespace taviro {
namespace {

// Reads an optionally signed integer and advances `text` past it.
bool takeInt(std::string_view& text, int& value) {
  const char* begin = text.data() + (text.starts_with('+') ? 1 : 0);
  const auto [end, ec] = std::from_chars(begin, text.data() + text.size(), value);
  if (ec != std::errc{}) return false;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return true;
}

}  // namespace

std::optional<Rect> parseDisplayGeometry(std::string_view text) {
  int w = 0, h = 0, x = 0, y = 0;
  if (!takeInt(text, w) || !text.starts_with('x')) return std::nullopt;
  text.remove_prefix(1);
  if (!takeInt(text, h) || w <= 0 || h <= 0) return std::nullopt;
  if (!text.empty()) {
    if (!(text.starts_with('+') || text.starts_with('-')) || !takeInt(text, x)) return std::nullopt;
    if (!(text.starts_with('+') || text.starts_with('-')) || !takeInt(text, y)) return std::nullopt;
    if (!text.empty()) return std::nullopt;
  }
  return Rect(x, y, w, h);
}

HeadlessDisplays::HeadlessDisplays(std::vector<Rect> bounds) {
  if (bounds.empty()) bounds.push_back(Rect(0, 0, 1920, 1080));
  displays_ = displaysFromBounds(bounds);
}

Point HeadlessDisplays::location() const {
  const Rect& b = displays_.front().bounds;
  return {b.minX() + b.size.width / 2, b.minY() + b.size.height / 2};
}

}  // namespace taviro
