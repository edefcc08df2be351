#include "FakeDisplays.h"

#include "display/ScreenGeometry.h"

namespace taviro::fakes {

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
  return yk_objectAtIndex(displays_, 0);
}

}  // namespace taviro::fakes
