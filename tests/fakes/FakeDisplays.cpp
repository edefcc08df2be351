#include "FakeDisplays.h"

namespace taviro::fakes {

std::vector<Display> displaysFromBounds(const std::vector<Rect>& bounds) {
  std::vector<Display> out;
  const double mainHeight = bounds.empty() ? 0 : bounds.front().size.height;
  DisplayID id = 1;
  for (const Rect& b : bounds) {
    const Rect frame(b.origin.x, mainHeight - (b.origin.y + b.size.height), b.size.width,
                     b.size.height);
    out.push_back({id++, b, frame, 0});
  }
  return out;
}

FakeDisplayServices::FakeDisplayServices(const std::vector<Rect>& bounds)
    : displays_(displaysFromBounds(bounds)) {}

void FakeDisplayServices::setDisplays(std::vector<Display> displays) {
  std::lock_guard lock(mutex_);
  displays_ = std::move(displays);
}

std::vector<Display> FakeDisplayServices::activeDisplays() const {
  std::lock_guard lock(mutex_);
  return displays_;
}

std::optional<Display> FakeDisplayServices::mainDisplay() const {
  std::lock_guard lock(mutex_);
  if (displays_.empty()) return std::nullopt;
  return displays_.front();
}

}  // namespace taviro::fakes
