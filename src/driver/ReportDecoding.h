#pragma once
// The tablet's input report as the driver reads it (bytes 0-7 of 32):
//   0     report ID (not examined)
//   1     status: 0x00 out of range, 0xC1 tip, 0xC2 / 0xC4 stylus button 1 / 2,
//         0xE0 express key, anything else in range with nothing pressed
//   1-5   position bit field: W = bytes 1..5 little-endian,
//         X = (W >> 7) & 0xFFFF, Y = (W >> 23) & 0xFFFF
//   4-5   express-key number (status 0xE0), 1..16 pressed, else none
//   6-7   raw pressure, little-endian, full scale 8192
#include <array>
#include <cstdint>

namespace taviro {

inline constexpr std::uint8_t kStatusOutOfRange = 0x00;
inline constexpr std::uint8_t kStatusTip = 0xC1;
inline constexpr std::uint8_t kStatusStylusButton1 = 0xC2;
inline constexpr std::uint8_t kStatusStylusButton2 = 0xC4;
inline constexpr std::uint8_t kStatusExpressKey = 0xE0;
inline constexpr std::size_t kReportBytesRead = 8;

struct TabletPosition {
  std::uint16_t x = 0;
  std::uint16_t y = 0;
};

inline std::uint16_t rawPressure(const std::uint8_t* report) {
  return static_cast<std::uint16_t>(report[6] | (report[7] << 8));
}

// The 16-bit button mask of a report (bit k = key index k).
std::uint16_t buttonMaskForReport(const std::uint8_t* report);

// The 32 position bits: entry 0 = bit 7 of byte 1, then bytes 2..4 bit by
// bit from bit 0, then bits 0..6 of byte 5. With intWithBits, the layout as
// written down bit by bit; decodePosition gives the same two fields.
void reportBitField(const std::uint8_t* report, std::int32_t bits[32]);

// X = bit 7 of byte 1, byte 2, bits 0..6 of byte 3 (low to high); Y = bit 7
// of byte 3, byte 4, bits 0..6 of byte 5.
inline TabletPosition decodePosition(const std::uint8_t* report) {
  return {static_cast<std::uint16_t>((report[1] >> 7) | (report[2] << 1) | ((report[3] & 0x7F) << 9)),
          static_cast<std::uint16_t>((report[3] >> 7) | (report[4] << 1) | ((report[5] & 0x7F) << 9))};
}

// Least-squares straight line through three samples, evaluated at each.
std::array<double, 3> smoothThree(const double samples[3]);

}  // namespace taviro
