#include "platform/linux/InputGrab.h"

#include <fcntl.h>
#include <libudev.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "foundation/Log.h"

namespace taviro::linux_input {

bool belongsTo(const std::string& syspath, const std::string& rootSyspath) {
  return !rootSyspath.empty() && syspath.size() > rootSyspath.size() &&
         syspath.compare(0, rootSyspath.size(), rootSyspath) == 0 &&
         syspath[rootSyspath.size()] == '/';
}

std::optional<std::string> InputGrab::grabBelow(udev* context, const std::string& rootSyspath) {
  std::optional<std::string> held;
  udev_enumerate* e = udev_enumerate_new(context);
  udev_enumerate_add_match_subsystem(e, "input");
  udev_enumerate_add_match_sysname(e, "event*");
  udev_enumerate_scan_devices(e);
  udev_list_entry* entry = nullptr;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e)) {
    const std::string syspath = udev_list_entry_get_name(entry);
    if (!belongsTo(syspath, rootSyspath)) continue;
    if (udev_device* dev = udev_device_new_from_syspath(context, syspath.c_str())) {
      const char* devnode = udev_device_get_devnode(dev);
      if (!grab(syspath, devnode) && !held) held = devnode;
      udev_device_unref(dev);
    }
  }
  udev_enumerate_unref(e);
  if (held) releaseAll();
  return held;
}

bool InputGrab::grab(const std::string& syspath, const char* devnode) {
  if (!devnode) return true;
  for (const Grab& g : grabs_)
    if (g.syspath == syspath) return true;
  const int fd = open(devnode, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0 || ioctl(fd, EVIOCGRAB, 1) != 0) {
    const int error = errno;
    if (fd >= 0) close(fd);
    if (error == EBUSY) return false;
    logBare("Cannot take %s for exclusive use (%s): the desktop will see the tablet's own "
            "pointer events too. The udev rule 70-taviro.rules gives your user access.",
            devnode, std::strerror(error));
    return true;
  }
  grabs_.push_back({syspath, fd});
  return true;
}

void InputGrab::releaseAll() {
  for (const Grab& g : grabs_) {
    ioctl(g.fd, EVIOCGRAB, 0);
    close(g.fd);
  }
  grabs_.clear();
}

}  // namespace taviro::linux_input
