#pragma once
// HID event systems for tests: one that records every post, one that drops them.
#include <atomic>
#include <mutex>
#include <vector>

#include "driver/HIDEventSystem.h"

namespace taviro::fakes {

struct PostedEvent {
  std::uint32_t type = 0;
  IOGPoint location;
  NXEventData data;
  std::uint32_t options = 0;
};

class RecordingEventSystem : public HIDEventSystem {
 public:
  HIDEventSystemOpenResult openResult;  // what open() answers

  HIDEventSystemOpenResult open() override {
    ++opens_;
    return openResult;
  }
  int close() override {
    ++closes_;
    return 0;
  }
  void post(std::uint32_t type, IOGPoint location, const NXEventData& data,
            std::uint32_t options) override;

  std::vector<PostedEvent> events() const;
  std::vector<std::uint32_t> types() const;
  void clear();
  int opens() const { return opens_; }
  int closes() const { return closes_; }

 private:
  mutable std::mutex mutex_;
  std::vector<PostedEvent> events_;
  std::atomic<int> opens_{0};
  std::atomic<int> closes_{0};
};

// Opens, and drops every post: the cheapest sink, for benchmarks.
class NullEventSystem : public HIDEventSystem {
 public:
  HIDEventSystemOpenResult open() override { return {}; }
  int close() override { return 0; }
  void post(std::uint32_t, IOGPoint, const NXEventData&, std::uint32_t) override {}
};

}  // namespace taviro::fakes
