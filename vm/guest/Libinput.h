#pragma once
// libinput as the desktop runs it, inside the test VM: `libinput debug-events`
// (udev backend, seat0) on a pseudo-terminal, so that it writes each event as
// it happens, and its lines collected as they come. Needs udevd running.
#include <sys/types.h>

#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace taviro::vm {

// One line of debug-events: "-event3   TABLET_TOOL_TIP   +1.656s   ... down".
struct LibinputEvent {
  std::string node;  // "event3"
  std::string type;  // "TABLET_TOOL_TIP"
  double seconds = 0;
  std::string detail;  // the rest of the line
};
LibinputEvent parseLibinputLine(const std::string& line);

class LibinputEvents {
 public:
  // Starts debug-events; false when it did not list a device within the time.
  bool start(int timeoutMs);
  ~LibinputEvents();

  std::size_t size() const;
  std::vector<LibinputEvent> since(std::size_t from) const;
  // The node libinput gives the `nth` device (0 = first) named `name`, once
  // it has been added; empty when none was within the time.
  std::string nodeOf(const std::string& name, int timeoutMs, int nth = 0) const;
  // Waits until an event of `type` on `node` whose detail holds `text` comes
  // at or after index `from`; its index, or size() when none came in time.
  std::size_t waitFor(std::size_t from, const std::string& node, const std::string& type,
                      const std::string& text, int timeoutMs) const;

 private:
  void collect();
  pid_t pid_ = -1;
  int master_ = -1;
  mutable std::mutex mutex_;
  std::vector<LibinputEvent> events_;
  std::thread reader_;
};

}  // namespace taviro::vm
