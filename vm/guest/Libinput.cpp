#include "Libinput.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <sstream>

namespace taviro::vm {
namespace {

constexpr const char* kDebugEvents = "/usr/libexec/libinput/libinput-debug-events";

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Polls `done` every 20 ms for up to `timeoutMs`.
template <typename Done>
bool within(int timeoutMs, Done done) {
  for (int waited = 0;; waited += 20) {
    if (done()) return true;
    if (waited >= timeoutMs) return false;
    sleepMs(20);
  }
}

}  // namespace

LibinputEvent parseLibinputLine(const std::string& line) {
  LibinputEvent e;
  std::istringstream in(line);
  std::string time;
  in >> e.node >> e.type >> time;
  if (!e.node.empty() && (e.node[0] == '-' || e.node[0] == ' ')) e.node.erase(0, 1);
  std::string rest;
  std::getline(in, rest);  // starts with the blanks after `time`
  if (time.size() > 2 && time[0] == '+') e.seconds = std::strtod(time.c_str() + 1, nullptr);
  else rest = time + rest;  // DEVICE_ADDED lines have no time: the name follows the type
  e.detail = rest;
  return e;
}

bool LibinputEvents::start(int timeoutMs) {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return false;
  const std::string slave = ptsname(master_);
  pid_ = fork();
  if (pid_ == 0) {
    const int out = open(slave.c_str(), O_RDWR);
    dup2(out, 1);
    dup2(out, 2);
    execl(kDebugEvents, kDebugEvents, "--udev", "seat0", "--show-keycodes",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  reader_ = std::thread([this] { collect(); });
  return within(timeoutMs, [this] {
    std::lock_guard lock(mutex_);
    for (const auto& e : events_)
      if (e.type == "DEVICE_ADDED") return true;
    return false;
  });
}

LibinputEvents::~LibinputEvents() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  if (master_ >= 0) close(master_);  // ends the reader's poll with POLLHUP or an error
  if (reader_.joinable()) reader_.join();
}

void LibinputEvents::collect() {
  std::string pending;
  for (;;) {
    pollfd p{master_, POLLIN, 0};
    if (poll(&p, 1, 100) < 0) return;
    if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) return;
    if (!(p.revents & POLLIN)) continue;
    char buf[4096];
    const ssize_t n = read(master_, buf, sizeof buf);
    if (n <= 0) return;
    pending.append(buf, static_cast<std::size_t>(n));
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
      std::string line = pending.substr(0, end);
      pending.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();  // the terminal's line ends
      if (line.empty()) continue;
      std::printf("libinput: %s\n", line.c_str());  // to the console log only
      std::lock_guard lock(mutex_);
      events_.push_back(parseLibinputLine(line));
    }
  }
}

std::size_t LibinputEvents::size() const {
  std::lock_guard lock(mutex_);
  return events_.size();
}

std::vector<LibinputEvent> LibinputEvents::since(std::size_t from) const {
  std::lock_guard lock(mutex_);
  if (from >= events_.size()) return {};
  return {events_.begin() + static_cast<std::ptrdiff_t>(from), events_.end()};
}

std::string LibinputEvents::nodeOf(const std::string& name, int timeoutMs, int nth) const {
  std::string node;
  within(timeoutMs, [&] {
    int seen = 0;
    for (const auto& e : since(0))
      if (e.type == "DEVICE_ADDED" && e.detail.find(name) != std::string::npos && seen++ == nth) {
        node = e.node;
        return true;
      }
    return false;
  });
  return node;
}

std::size_t LibinputEvents::waitFor(std::size_t from, const std::string& node,
                                    const std::string& type, const std::string& text,
                                    int timeoutMs) const {
  std::size_t found = 0;
  const bool ok = within(timeoutMs, [&] {
    const auto events = since(from);
    for (std::size_t i = 0; i < events.size(); ++i) {
      const auto& e = events[i];
      if (e.node == node && e.type == type && e.detail.find(text) != std::string::npos) {
        found = from + i;
        return true;
      }
    }
    return false;
  });
  return ok ? found : size();
}

}  // namespace taviro::vm
