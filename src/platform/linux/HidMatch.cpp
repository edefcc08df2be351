#include "platform/linux/HidMatch.h"

#include <charconv>

namespace taviro::linux_input {
namespace {

// One hex field up to the next ':' (or the end); advances `text` past it.
std::optional<std::uint32_t> takeHexField(std::string_view& text, bool last) {
  const auto colon = text.find(':');
  if (last != (colon == std::string_view::npos)) return std::nullopt;
  const std::string_view field = text.substr(0, colon);
  if (field.empty() || field.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value, 16);
  if (ec != std::errc{} || end != field.data() + field.size()) return std::nullopt;
  text = last ? std::string_view{} : text.substr(colon + 1);
  return value;
}

}  // namespace

std::optional<HidId> parseHidId(std::string_view text) {
  const auto bus = takeHexField(text, false);
  if (!bus) return std::nullopt;
  const auto vendor = takeHexField(text, false);
  if (!vendor) return std::nullopt;
  const auto product = takeHexField(text, true);
  if (!product) return std::nullopt;
  return HidId{*bus, *vendor, *product};
}

bool matchesTablet(std::string_view hidIdText, std::uint32_t vendor, std::uint32_t product) {
  const auto id = parseHidId(hidIdText);
  return id && id->bus == kBusUsb && id->vendor == vendor && id->product == product;
}

}  // namespace taviro::linux_input
