#pragma once
// Display configuration for the driver without a user interface: the displays
// given on the command line ("WIDTHxHEIGHT" or "WIDTHxHEIGHT+X+Y", the first
// is the main display), else one 1920 x 1080 display. The pointer is taken to
// rest at the main display's centre.
#include <optional>
#include <string_view>
#include <vector>

#include "display/DisplayServices.h"

namespace taviro {

// None when `text` is not a display geometry.
std::optional<Rect> parseDisplayGeometry(std::string_view text);

class HeadlessDisplays : public DisplayServices, public PointerLocation {
 public:
  explicit HeadlessDisplays(std::vector<Rect> bounds);
  std::vector<Display> activeDisplays() const override { return displays_; }
  std::optional<Display> mainDisplay() const override { return displays_.front(); }
  Point location() const override;

 private:
  std::vector<Display> displays_;
};

}  // namespace taviro
