#pragma once
// Exclusive use of the tablet: the kernel's own HID driver turns its reports
// into pointer events too. An EVIOCGRAB on each of the device's event nodes
// keeps those events from every other reader (the desktop), while hidraw stays
// untouched; the kernel drops the grab when the holder dies.
#include <optional>
#include <string>
#include <vector>

struct udev;

namespace taviro::linux_input {

// True when the event node at `syspath` belongs to the device at `rootSyspath`
// (lies below it in the sysfs tree).
bool belongsTo(const std::string& syspath, const std::string& rootSyspath);

class InputGrab {
 public:
  InputGrab() = default;
  ~InputGrab() { releaseAll(); }
  InputGrab(const InputGrab&) = delete;
  InputGrab& operator=(const InputGrab&) = delete;

  // Grabs every event node below `rootSyspath` not grabbed yet. When another
  // program holds one of them (EBUSY: another driver owns the tablet) it
  // lets go of all and answers that node.
  std::optional<std::string> grabBelow(udev* context, const std::string& rootSyspath);
  // Grabs one event node (if not grabbed yet); false when another program
  // holds it. Other failures are logged and leave the node to the desktop.
  bool grab(const std::string& syspath, const char* devnode);
  void releaseAll();

 private:
  struct Grab {
    std::string syspath;
    int fd;
  };
  std::vector<Grab> grabs_;
};

}  // namespace taviro::linux_input
