#pragma once
// Reading input event nodes inside the test VM: find a node by its device's
// name (or vendor/product), collect its events, check whether someone holds
// an exclusive grab on it.
#include <linux/input.h>

#include <cstdint>
#include <string>
#include <vector>

namespace taviro::vm {

// "/dev/input/eventN" of the first device whose name equals `name`, waiting up
// to `timeoutMs` for it to appear; empty when none did.
std::string findEventNode(const std::string& name, int timeoutMs);
// Every event node whose device has the given vendor and product ids.
std::vector<std::string> eventNodesOf(std::uint16_t vendor, std::uint16_t product);

class EvdevNode {
 public:
  explicit EvdevNode(const std::string& path);
  ~EvdevNode();
  EvdevNode(const EvdevNode&) = delete;
  EvdevNode& operator=(const EvdevNode&) = delete;

  bool ok() const { return fd_ >= 0; }
  // Events until `timeoutMs` passes with nothing new (quiet period).
  std::vector<input_event> drain(int quietMs);
  // Events up to the end of the first frame holding type/code, or until
  // `timeoutMs` passes.
  std::vector<input_event> readUntil(std::uint16_t type, std::uint16_t code, int timeoutMs);
  // True when another process holds EVIOCGRAB on the node.
  bool grabbedByOther();
  // Current state of a key and of an absolute axis, as the kernel keeps it.
  bool keyDown(std::uint16_t code);
  int absValue(std::uint16_t code);

 private:
  int fd_ = -1;
};

}  // namespace taviro::vm
