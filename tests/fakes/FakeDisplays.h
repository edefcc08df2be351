#pragma once
// A display configuration and pointer that tests set directly.
#include <mutex>
#include <vector>

#include "display/DisplayServices.h"
#include "display/ScreenGeometry.h"

namespace taviro::fakes {

class FakeDisplayServices : public DisplayServices {
 public:
  // Top-left bounds, the first one the main display (displaysFromBounds).
  explicit FakeDisplayServices(const std::vector<Rect>& bounds = {})
      : displays_(displaysFromBounds(bounds)) {}

  void setDisplays(std::vector<Display> displays) {
    std::lock_guard lock(mutex_);
    displays_ = std::move(displays);
  }
  std::vector<Display> activeDisplays() const override {
    std::lock_guard lock(mutex_);
    return displays_;
  }
  std::optional<Display> mainDisplay() const override {
    std::lock_guard lock(mutex_);
    return yk_objectAtIndex(displays_, 0);
  }

 private:
  mutable std::mutex mutex_;
  std::vector<Display> displays_;
};

struct FakePointer : PointerLocation {
  Point where;
  Point location() const override { return where; }
};

}  // namespace taviro::fakes
