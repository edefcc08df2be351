// Latency benchmark inside the VM: the time from a fake tablet's write on
// /dev/uhid to the resulting event on an event node, for Taviro's path (hidraw
// → taviro-driver → virtual pen) and, side by side in the same boot, for the
// kernel's own path (a standard digitizer handled by hid-generic). Both
// streams run at 1000 reports per second. Event times are the kernel's
// monotonic time stamps of the events, so reading them costs nothing.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "Checks.h"
#include "DriverProcess.h"
#include "EvdevNode.h"
#include "TabletReport.h"
#include "UhidTablet.h"

namespace {

using namespace taviro::vm;

constexpr int kReports = 4000;
// Reports sent before measuring: the emulator translates code on first use,
// which would otherwise show as a few very slow reports at the start.
constexpr int kWarmUp = 500;
constexpr int kDesktopWidth = 8000;  // one pixel per report: frames name their report

std::int64_t nowNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return std::int64_t{ts.tv_sec} * 1'000'000'000 + ts.tv_nsec;
}

std::int64_t eventNs(const input_event& e) {
  return std::int64_t{e.input_event_sec} * 1'000'000'000 + std::int64_t{e.input_event_usec} * 1000;
}

// Sends `count` reports at 1 kHz, noting each write's time.
template <typename Make>
std::vector<std::int64_t> stream(UhidTablet& tablet, Make make, int count = kReports) {
  std::vector<std::int64_t> written(static_cast<std::size_t>(count));
  timespec next{};
  clock_gettime(CLOCK_MONOTONIC, &next);
  for (int i = 0; i < count; ++i) {
    next.tv_nsec += 1'000'000;
    if (next.tv_nsec >= 1'000'000'000) {
      next.tv_nsec -= 1'000'000'000;
      ++next.tv_sec;
    }
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
    const Report r = make(i);
    written[i] = nowNs();
    tablet.send(r.data(), r.size());
  }
  return written;
}

// ABS_X of each frame with its time stamp, collected while the stream runs.
struct FrameX {
  int x;
  std::int64_t ns;
};

class FrameCollector {
 public:
  explicit FrameCollector(const std::string& node) : node_(node) {
    thread_ = std::thread([this] {
      int x = -1;
      bool changed = false;
      while (!stop_) {
        for (const input_event& e : node_.drain(50)) {
          if (e.type == EV_ABS && e.code == ABS_X) {
            x = e.value;
            changed = true;
          }
          if (e.type == EV_SYN && changed) {
            frames_.push_back({x, eventNs(e)});
            changed = false;
          }
        }
      }
    });
  }
  std::vector<FrameX> finish() {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    stop_ = true;
    thread_.join();
    return frames_;
  }

 private:
  EvdevNode node_;
  std::atomic<bool> stop_{false};
  std::vector<FrameX> frames_;
  std::thread thread_;
};

struct Stats {
  std::size_t n = 0;
  double medianUs = 0, p99Us = 0;
};

Stats stats(std::vector<std::int64_t> ns) {
  Stats s;
  s.n = ns.size();
  if (ns.empty()) return s;
  std::sort(ns.begin(), ns.end());
  s.medianUs = double(ns[ns.size() / 2]) / 1000.0;
  s.p99Us = double(ns[std::min(ns.size() - 1, ns.size() * 99 / 100)]) / 1000.0;
  return s;
}

// What the driver process has spent: CPU time of all its threads (user and
// kernel), read-like and write-like system calls, and voluntary context
// switches (each a wait for the next report or event).
struct ProcessCounters {
  std::int64_t cpuNs = 0, reads = 0, writes = 0, wakes = 0;
};

// The number after `key` in a "key: value" or "key value" text.
std::int64_t field(const std::string& text, const std::string& key) {
  const std::size_t at = text.find(key);
  return at == std::string::npos ? 0 : std::strtoll(text.c_str() + at + key.size(), nullptr, 10);
}

ProcessCounters counters(pid_t pid) {
  ProcessCounters out;
  const std::string proc = "/proc/" + std::to_string(pid);
  const std::string io = readFile(proc + "/io");
  out.reads = field(io, "syscr:");
  out.writes = field(io, "syscw:");
  if (DIR* d = opendir((proc + "/task").c_str())) {
    while (dirent* e = readdir(d)) {
      if (e->d_name[0] == '.') continue;
      const std::string task = proc + "/task/" + e->d_name;
      out.cpuNs += std::strtoll(readFile(task + "/schedstat").c_str(), nullptr, 10);
      out.wakes += field(readFile(task + "/status"), "\nvoluntary_ctxt_switches:");
    }
    closedir(d);
  }
  return out;
}

void print(const char* path, const Stats& s) {
  std::printf("BENCH %s reports=%d frames=%zu median_us=%.1f p99_us=%.1f\n", path, kReports, s.n,
              s.medianUs, s.p99Us);
}

}  // namespace

int main() {
  Checks c;
  UhidTablet kernelTablet(0x4D16, "Kernel Path Tablet");
  UhidTablet tablet;
  const pid_t driver =
      startDriver({"--display", std::to_string(kDesktopWidth) + "x1000"}, "/tmp/driver.log");
  const std::string penNode = findEventNode("Taviro Virtual Pen", 15000);
  const std::string kernelNode = findEventNode("Kernel Path Tablet Stylus", 5000);
  if (!c.check("devices_ready", !penNode.empty() && !kernelNode.empty() &&
                                    !tablet.waitForFeatures(1, 10000).empty()))
    return c.finish();

  // The kernel's path: the descriptor's own layout, X = report number.
  const auto kernelReport = [](int i) {
    Report r{};
    r[0] = kInputReportId;
    r[1] = 0x08;  // in range
    r[2] = static_cast<std::uint8_t>(i & 0xFF);
    r[3] = static_cast<std::uint8_t>(i >> 8);
    r[4] = 0x10;
    return r;
  };
  std::vector<std::int64_t> kernelNs;
  stream(kernelTablet, kernelReport, kWarmUp);
  {
    FrameCollector frames(kernelNode);
    const auto written = stream(kernelTablet, kernelReport);
    for (const FrameX& f : frames.finish())
      if (f.x >= 0 && f.x < kReports && f.ns >= written[f.x]) kernelNs.push_back(f.ns - written[f.x]);
  }

  // Taviro's path: a hovering pen moving one desktop pixel per report. The
  // driver emits a group of four reports with the fourth (its first frame
  // shows the group's first position), so that report's write starts the clock.
  const auto penReportAt = [](int i) {
    const auto x = static_cast<std::uint16_t>((i + 0.5) * 65535.0 / kDesktopWidth);
    return penReport(kStatusHover, x, 30000, 0);
  };
  std::vector<std::int64_t> driverNs;
  stream(tablet, penReportAt, kWarmUp);
  const ProcessCounters before = counters(driver);
  {
    FrameCollector frames(penNode);
    const auto written = stream(tablet, penReportAt);
    int lastGroup = -1;
    for (const FrameX& f : frames.finish()) {
      const int group = (f.x + 1) / 4;
      const int trigger = group * 4 + 3;
      if (group == lastGroup || trigger >= kReports || f.ns < written[trigger]) continue;
      lastGroup = group;
      driverNs.push_back(f.ns - written[trigger]);
    }
  }
  const ProcessCounters after = counters(driver);

  const Stats k = stats(kernelNs), d = stats(driverNs);
  print("kernel", k);
  print("taviro", d);
  std::printf("BENCH ratio median=%.2f p99=%.2f\n", d.medianUs / k.medianUs, d.p99Us / k.p99Us);
  const auto perReport = [](std::int64_t n) { return double(n) / kReports; };
  std::printf("BENCH taviro_cpu_us_per_report=%.1f reads_per_report=%.2f writes_per_report=%.2f "
              "wakes_per_report=%.2f\n",
              perReport(after.cpuNs - before.cpuNs) / 1000.0, perReport(after.reads - before.reads),
              perReport(after.writes - before.writes), perReport(after.wakes - before.wakes));
  c.check("both_paths_measured", k.n > kReports * 9 / 10 && d.n > kReports / 4 * 9 / 10,
          std::to_string(k.n) + " " + std::to_string(d.n));
  stopDriver(driver, 15000);
  return c.finish();
}
