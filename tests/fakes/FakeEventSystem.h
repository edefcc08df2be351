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
  std::atomic<int> opens{0}, closes{0};

  HIDEventSystemOpenResult open() override {
    ++opens;
    return {};
  }
  int close() override {
    ++closes;
    return 0;
  }
  void post(std::uint32_t type, IOGPoint location, const NXEventData& data,
            std::uint32_t options) override {
    std::lock_guard lock(mutex_);
    events_.push_back({type, location, data, options});
  }

  std::vector<PostedEvent> events() const {
    std::lock_guard lock(mutex_);
    return events_;
  }
  std::vector<std::uint32_t> types() const {
    std::vector<std::uint32_t> out;
    for (const PostedEvent& e : events()) out.push_back(e.type);
    return out;
  }
  void clear() {
    std::lock_guard lock(mutex_);
    events_.clear();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<PostedEvent> events_;
};

// Opens, and drops every post: the cheapest sink, for benchmarks.
class NullEventSystem : public HIDEventSystem {
 public:
  HIDEventSystemOpenResult open() override { return {}; }
  int close() override { return 0; }
  void post(std::uint32_t, IOGPoint, const NXEventData&, std::uint32_t) override {}
};

}  // namespace taviro::fakes
