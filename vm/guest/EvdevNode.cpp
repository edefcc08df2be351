#include "EvdevNode.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace taviro::vm {
namespace {

std::string readLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

std::vector<std::string> eventNames() {
  std::vector<std::string> names;
  if (DIR* dir = opendir("/sys/class/input")) {
    while (dirent* e = readdir(dir)) {
      std::string n = e->d_name;
      if (n.rfind("event", 0) == 0) names.push_back(n);
    }
    closedir(dir);
  }
  return names;
}

}  // namespace

std::string findEventNode(const std::string& name, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  do {
    for (const auto& n : eventNames()) {
      if (readLine("/sys/class/input/" + n + "/device/name") == name) return "/dev/input/" + n;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  } while (std::chrono::steady_clock::now() < end);
  return {};
}

std::vector<std::string> eventNodesOf(std::uint16_t vendor, std::uint16_t product) {
  std::vector<std::string> nodes;
  for (const auto& n : eventNames()) {
    const std::string id = "/sys/class/input/" + n + "/device/id/";
    // strtoul, not stoul: a node that went away meanwhile reads as empty.
    if (std::strtoul(readLine(id + "vendor").c_str(), nullptr, 16) == vendor &&
        std::strtoul(readLine(id + "product").c_str(), nullptr, 16) == product)
      nodes.push_back("/dev/input/" + n);
  }
  return nodes;
}

EvdevNode::EvdevNode(const std::string& path) {
  fd_ = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ >= 0) {
    int clock = CLOCK_MONOTONIC;
    ioctl(fd_, EVIOCSCLOCKID, &clock);
  }
}

EvdevNode::~EvdevNode() {
  if (fd_ >= 0) close(fd_);
}

std::vector<input_event> EvdevNode::drain(int quietMs) {
  std::vector<input_event> events;
  for (;;) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, quietMs) <= 0) return events;
    input_event ev[64];
    ssize_t n = read(fd_, ev, sizeof ev);
    if (n <= 0) return events;
    events.insert(events.end(), ev, ev + n / static_cast<ssize_t>(sizeof(input_event)));
  }
}

std::vector<input_event> EvdevNode::readUntil(std::uint16_t type, std::uint16_t code,
                                              int timeoutMs) {
  std::vector<input_event> events;
  bool matched = false;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < end) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, 20) <= 0) continue;
    input_event ev;
    while (read(fd_, &ev, sizeof ev) == static_cast<ssize_t>(sizeof ev)) {
      events.push_back(ev);
      matched = matched || (ev.type == type && ev.code == code);
      // The rest of the matching frame belongs to it.
      if (matched && ev.type == EV_SYN && ev.code == SYN_REPORT) return events;
    }
  }
  return events;
}

bool EvdevNode::grabbedByOther() {
  if (ioctl(fd_, EVIOCGRAB, 1) == 0) {
    ioctl(fd_, EVIOCGRAB, 0);
    return false;
  }
  return errno == EBUSY;
}

bool EvdevNode::keyDown(std::uint16_t code) {
  unsigned char bits[KEY_MAX / 8 + 1] = {};
  ioctl(fd_, EVIOCGKEY(sizeof bits), bits);
  return (bits[code / 8] >> (code % 8)) & 1;
}

int EvdevNode::absValue(std::uint16_t code) {
  input_absinfo info{};
  ioctl(fd_, EVIOCGABS(code), &info);
  return info.value;
}

}  // namespace taviro::vm
