#include "driver/ReportDecoding.h"

#include <algorithm>
#include <iterator>

#include "driver/BTDriverManager.h"
#include "driver/Pressure.h"
#include "driver/Truncate.h"

namespace taviro {

std::uint16_t buttonMaskForReport(const std::uint8_t* report) {
  switch (report[1]) {
    case kStatusTip: return kMaskTip;
    case kStatusStylusButton1: return kMaskStylusButton1;
    case kStatusStylusButton2: return kMaskStylusButton2;
    case kStatusExpressKey: {
      const int key = report[4] | (report[5] << 8);
      if (key >= 1 && key <= 16) return static_cast<std::uint16_t>(1u << (key - 1));
      return kMaskKeysReleased;
    }
    default: return 0;
  }
}

void reportBitField(const std::uint8_t* report, std::int32_t bits[32]) {
  bits[0] = (report[1] >> 7) & 1;
  for (int i = 0; i < 24; ++i) bits[1 + i] = (report[2 + i / 8] >> (i % 8)) & 1;
  for (int i = 0; i < 7; ++i) bits[25 + i] = (report[5] >> i) & 1;
}

std::array<double, 3> smoothThree(const double a[3]) {
  return {(5 * a[0] + 2 * a[1] - a[2]) / 6, (a[0] + a[1] + a[2]) / 3,
          (5 * a[2] + 2 * a[1] - a[0]) / 6};
}

std::int32_t BTDriverManager::intWithBits(const std::int32_t* bits, int startIndex, int length) {
  std::int32_t value = 0;
  for (int k = 0; k < length; ++k)
    value |= bits[startIndex - k] << (length - 1 - k);
  return value;
}

bool BTDriverManager::calculateXYCoordsWithReport(const std::uint8_t* report) {
  const TabletPosition raw = decodePosition(report);
  const Point mapped = screenManager().mapTabletCoordinatesToDisplaySpaceWithPoint(
      {static_cast<double>(raw.x), static_cast<double>(raw.y)},
      driverThreadTabletMapping_.refresh(tabletMapping_));
  if (smoothing_.counter < 3) {
    smoothing_.x[smoothing_.counter] = mapped.x;
    smoothing_.y[smoothing_.counter] = mapped.y;
    ++smoothing_.counter;
    return false;
  }
  // The fourth report of a group only closes it; its own sample is dropped.
  smoothing_.counter = 0;
  const std::array<double, 3> bx = smoothThree(smoothing_.x);
  const std::array<double, 3> by = smoothThree(smoothing_.y);
  const Point offset = driverThreadCursorOffset_.refresh(cursorOffset_);
  for (int i = 0; i < 3; ++i) {
    stylus_.point = {truncToInt32(bx[i]), truncToInt32(by[i])};
    stylus_.motion = {saturatingDifference(stylus_.point.x, stylus_.old.x),
                      saturatingDifference(stylus_.point.y, stylus_.old.y)};
    stylus_.old = stylus_.point;
    stylus_.scrPos = {bx[i], by[i]};
    if (offset.x != 0 || offset.y != 0) stylus_.scrPos = {bx[i] + offset.x, by[i] + offset.y};
    stylus_.ioPos = {truncToInt16Bits(stylus_.scrPos.x), truncToInt16Bits(stylus_.scrPos.y)};
    if (!(stylus_.motion == Int32Point{})) postMoveOrDragEvent(NX_MOUSEMOVED);
  }
  return true;
}

void BTDriverManager::postPressure(float normalised) {
  // The one user-info dictionary, updated in place: no allocation per report.
  pressureInfo_.begin()->second = Value(normalised * 100.0f);
  center().post(kUpdatePressureNotification, nullptr, &pressureInfo_);
}

void BTDriverManager::didReceiveReport(const std::uint8_t* report, std::uint32_t /*reportId*/) {
  // 1. Button latches carry over from the last applied report.
  stylus_.button_click = false;
  stylus_.button_mask = 0;
  std::copy(std::begin(oldStylus_.button), std::end(oldStylus_.button), std::begin(stylus_.button));

  // 2. Pressure.
  const PressureResult p = computePressure({rawPressure(report), tabletSettings_.pressureLevels,
                                            tabletSettings_.mouseMode, pressureMod_,
                                            pressureDeadZone_});
  stylus_.pressure = p.pressure;
  if (showPressure_) postPressure(p.normalised);

  // 3.-5. Buttons, range, position. An express-key report holds a key number
  // where a pen report holds the position: it is no pen sample, and the pen
  // stays in or out of range as the last applied report left it.
  const std::uint16_t mask = buttonMaskForReport(report);
  bool groupDone = false;
  if (report[1] == kStatusExpressKey) {
    stylus_.off_tablet = oldStylus_.off_tablet;
  } else {
    stylus_.off_tablet = report[1] == kStatusOutOfRange;
    groupDone = calculateXYCoordsWithReport(report);
  }

  // 6. Tip and hover reports wait for the end of a smoothing group; stylus
  // buttons and express keys take effect at once. Express key 8 carries the
  // tip's bit and, being no position, never closes a group: it does nothing.
  const bool apply = groupDone || (mask != 0 && (mask & kMaskTip) == 0);
  if (apply) {
    // 7. Apply.
    stylus_.button_click = mask != 0;
    stylus_.button_mask = mask;
    // stylus_.button holds oldStylus_'s latches since step 1.
    for (int i = 0; i < kLatchedButtons; ++i) stylus_.button[i] |= ((mask >> i) & 1) != 0;
    updateStylusStatus();
    oldStylus_ = stylus_;
  }
  flushPosts();
}

}  // namespace taviro
