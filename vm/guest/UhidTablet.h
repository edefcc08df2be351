#pragma once
// A fake tablet on /dev/uhid. Its report descriptor declares a standard
// digitizer pen (so the kernel's hid-generic driver creates an event node of
// its own, as it does for the real tablet) whose input report is the 8-byte
// report the driver reads, plus a vendor feature report 2 for the start-up
// command. It answers every feature request and remembers what arrived.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace taviro::vm {

class UhidTablet {
 public:
  // Creates the device; `product` other than 0x4D15 makes a tablet the driver
  // must not match (used for the kernel-path benchmark).
  explicit UhidTablet(std::uint16_t product = 0x4D15, const std::string& name = "Fake Tablet");
  ~UhidTablet();
  UhidTablet(const UhidTablet&) = delete;
  UhidTablet& operator=(const UhidTablet&) = delete;

  bool ok() const { return fd_ >= 0; }
  bool send(const std::uint8_t* report, std::size_t size);
  // Waits until at least `count` feature reports have arrived (each kept with
  // its report-ID byte); answers them all.
  std::vector<std::vector<std::uint8_t>> waitForFeatures(std::size_t count, int timeoutMs);

 private:
  // A thread answers the kernel's requests at once: the driver's feature
  // request blocks until the device replies.
  void serve();
  void handleOne();
  int fd_ = -1;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::vector<std::uint8_t>> features_;
  std::thread server_;
};

}  // namespace taviro::vm
