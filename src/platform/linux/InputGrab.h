#pragma once
// Exclusive use of the tablet: the kernel's own HID driver turns its reports
// into pointer events too. An EVIOCGRAB on each of the device's event nodes
// keeps those events from every other reader (the desktop), while hidraw stays
// untouched; the kernel drops the grab when the holder dies.
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

  // Grabs every event node below `rootSyspath` not grabbed yet.
  void grabBelow(udev* context, const std::string& rootSyspath);
  // Grabs one event node (if not grabbed yet).
  void grab(const std::string& syspath, const char* devnode);
  void releaseAll();

 private:
  struct Grab {
    std::string syspath;
    int fd;
  };
  std::vector<Grab> grabs_;
};

}  // namespace taviro::linux_input
