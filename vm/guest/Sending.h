#pragma once
// What every step of the VM scenario shares: how long to wait for the driver,
// and sending whole smoothing groups of reports from the fake tablet.
#include <chrono>
#include <thread>

#include "TabletReport.h"
#include "UhidTablet.h"

namespace taviro::vm {

// Upper bounds for waiting on the driver. They cost nothing when it answers
// in time, and TCG on a loaded two-core host can be many times slower.
inline constexpr int kEventTimeoutMs = 15000;
inline constexpr int kStartTimeoutMs = 60000;

inline void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Every report sent so far (the driver's recording is checked against it).
inline int g_reportsSent = 0;

// The driver smooths positions in groups of four reports: a step sends whole
// groups with one position each, so that the smoothed positions are exactly
// the reported ones.
inline void sendGroup(UhidTablet& t, const Report& r, int reports = 4) {
  for (int i = 0; i < reports; ++i) {
    t.send(r.data(), r.size());
    ++g_reportsSent;
    sleepMs(3);
  }
}

// Express key `key` down, all keys up, and a group of out-of-range reports.
inline void tapExpressKey(UhidTablet& tablet, std::uint16_t key) {
  sendGroup(tablet, keyReport(key), 1);
  sendGroup(tablet, keyReport(0), 1);
  sendGroup(tablet, penReport(kStatusOut, 0, 0, 0), 4);
}

}  // namespace taviro::vm
