#pragma once
// Builds the tablet's 8-byte input reports the way the device packs them:
// byte 0 the report ID, byte 1 the status, X and Y as two 16-bit fields of the
// 40-bit little-endian word formed by bytes 1..5 (X from bit 7, Y from bit 23),
// and the raw pressure (0..8192) little-endian in bytes 6..7. The status byte
// shares its bit 7 with X bit 0, so the status is ORed in last.
#include <array>
#include <cstdint>

namespace taviro::vm {

inline constexpr std::uint8_t kInputReportId = 8;
inline constexpr std::uint8_t kStatusOut = 0x00;
inline constexpr std::uint8_t kStatusHover = 0x20;
inline constexpr std::uint8_t kStatusTip = 0xC1;
inline constexpr std::uint8_t kStatusButton1 = 0xC2;
inline constexpr std::uint8_t kStatusKeys = 0xE0;

using Report = std::array<std::uint8_t, 8>;

inline Report penReport(std::uint8_t status, std::uint16_t x, std::uint16_t y,
                        std::uint16_t pressure) {
  std::uint64_t word = (std::uint64_t{x} << 7) | (std::uint64_t{y} << 23);
  Report r{};
  r[0] = kInputReportId;
  for (int i = 0; i < 5; ++i) r[1 + i] = static_cast<std::uint8_t>(word >> (8 * i));
  // Only the low 7 bits of the status byte are free; its bit 7 is X bit 0.
  r[1] = static_cast<std::uint8_t>(r[1] | status);
  r[6] = static_cast<std::uint8_t>(pressure & 0xFF);
  r[7] = static_cast<std::uint8_t>(pressure >> 8);
  return r;
}

// An express-key report: key 1..16 pressed, 0 for all released.
inline Report keyReport(std::uint16_t key) {
  Report r{};
  r[0] = kInputReportId;
  r[1] = kStatusKeys;
  r[4] = static_cast<std::uint8_t>(key & 0xFF);
  r[5] = static_cast<std::uint8_t>(key >> 8);
  return r;
}

}  // namespace taviro::vm
