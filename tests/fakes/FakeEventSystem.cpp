#include "FakeEventSystem.h"

namespace taviro::fakes {

void RecordingEventSystem::post(std::uint32_t type, IOGPoint location, const NXEventData& data,
                                std::uint32_t options) {
  std::lock_guard lock(mutex_);
  events_.push_back({type, location, data, options});
}

std::vector<PostedEvent> RecordingEventSystem::events() const {
  std::lock_guard lock(mutex_);
  return events_;
}

std::vector<std::uint32_t> RecordingEventSystem::types() const {
  std::lock_guard lock(mutex_);
  std::vector<std::uint32_t> out;
  for (const PostedEvent& e : events_) out.push_back(e.type);
  return out;
}

void RecordingEventSystem::clear() {
  std::lock_guard lock(mutex_);
  events_.clear();
}

}  // namespace taviro::fakes
