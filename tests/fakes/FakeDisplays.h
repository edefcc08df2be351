#pragma once
// A display configuration and pointer that tests set directly.
#include <mutex>
#include <string_view>
#include <vector>

#include "display/DisplayServices.h"

namespace taviro::fakes {

class FakeDisplayServices : public DisplayServices {
 public:
  FakeDisplayServices() = default;
  // Top-left bounds, the first one the main display (displaysFromBounds).
  explicit FakeDisplayServices(const std::vector<Rect>& bounds);

  void setDisplays(std::vector<Display> displays);
  std::vector<Display> activeDisplays() const override;
  std::optional<Display> mainDisplay() const override;

 private:
  mutable std::mutex mutex_;
  std::vector<Display> displays_;
};

class FakePointer : public PointerLocation {
 public:
  Point where;
  Point location() const override { return where; }
};

}  // namespace taviro::fakes
