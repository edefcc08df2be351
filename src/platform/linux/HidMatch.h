#pragma once
// Which HID devices are the tablet: the kernel describes each HID device with
// HID_ID = "BBBB:VVVVVVVV:PPPPPPPP" (bus, vendor, product in hex) in its
// uevent. The tablet is a USB device (bus 0003) with the configured vendor and
// product ids.
#include <cstdint>
#include <optional>
#include <string_view>

namespace taviro::linux_input {

inline constexpr std::uint32_t kBusUsb = 0x0003;

struct HidId {
  std::uint32_t bus = 0;
  std::uint32_t vendor = 0;
  std::uint32_t product = 0;
  friend bool operator==(const HidId&, const HidId&) = default;
};

// None for anything that is not three colon-separated hex numbers.
std::optional<HidId> parseHidId(std::string_view text);

bool matchesTablet(std::string_view hidIdText, std::uint32_t vendor, std::uint32_t product);

}  // namespace taviro::linux_input
