#include "UhidTablet.h"

#include <fcntl.h>
#include <linux/uhid.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace taviro::vm {
namespace {

// Digitizer pen, report 8: tip/barrel/secondary barrel/in-range bits and 4
// bits padding (byte 1), X and Y 16 bit (bytes 2..5), tip pressure 16 bit
// (bytes 6..7). Vendor collection with feature report 2 of 2 bytes.
constexpr std::uint8_t kDescriptor[] = {
    0x05, 0x0D, 0x09, 0x02, 0xA1, 0x01,              // Digitizer, Pen, Application
    0x85, 0x08, 0x09, 0x20, 0xA1, 0x00,              // Report 8, Stylus, Physical
    0x09, 0x42, 0x09, 0x44, 0x09, 0x5A, 0x09, 0x32,  // Tip, Barrel, 2nd Barrel, In Range
    0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x04, 0x81, 0x02,
    0x95, 0x04, 0x81, 0x03,                          // padding
    0x05, 0x01, 0x09, 0x30, 0x09, 0x31,              // X, Y
    0x15, 0x00, 0x27, 0xFF, 0xFF, 0x00, 0x00,        // 0..65535
    0x35, 0x00, 0x46, 0x40, 0x1F, 0x65, 0x11, 0x55, 0x0E,  // 0..8000 x 10^-2 cm
    0x75, 0x10, 0x95, 0x02, 0x81, 0x02,
    0x05, 0x0D, 0x09, 0x30, 0x15, 0x00, 0x26, 0xFF, 0x1F,  // Tip Pressure 0..8191
    0x45, 0x00, 0x65, 0x00,
    0x75, 0x10, 0x95, 0x01, 0x81, 0x02,
    0xC0, 0xC0,
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,        // Vendor application
    0x85, 0x02, 0x09, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00,
    0x75, 0x08, 0x95, 0x02, 0xB1, 0x02,              // Feature report 2, 2 bytes
    0xC0,
};

bool writeEvent(int fd, const uhid_event& ev) {
  ssize_t n = write(fd, &ev, sizeof ev);
  if (n != static_cast<ssize_t>(sizeof ev)) {
    std::fprintf(stderr, "uhid write: %s\n", std::strerror(errno));
    return false;
  }
  return true;
}

}  // namespace

UhidTablet::UhidTablet(std::uint16_t product, const std::string& name) {
  fd_ = open("/dev/uhid", O_RDWR | O_CLOEXEC);
  if (fd_ < 0) {
    std::fprintf(stderr, "open /dev/uhid: %s\n", std::strerror(errno));
    return;
  }
  uhid_event ev{};
  ev.type = UHID_CREATE2;
  std::snprintf(reinterpret_cast<char*>(ev.u.create2.name), sizeof ev.u.create2.name, "%s",
                name.c_str());
  std::memcpy(ev.u.create2.rd_data, kDescriptor, sizeof kDescriptor);
  ev.u.create2.rd_size = sizeof kDescriptor;
  ev.u.create2.bus = 0x03;  // BUS_USB
  ev.u.create2.vendor = 0x6161;
  ev.u.create2.product = product;
  ev.u.create2.version = 1;
  if (!writeEvent(fd_, ev)) {
    close(fd_);
    fd_ = -1;
    return;
  }
  server_ = std::thread([this] { serve(); });
}

UhidTablet::~UhidTablet() {
  stop_ = true;
  if (server_.joinable()) server_.join();
  if (fd_ < 0) return;
  uhid_event ev{};
  ev.type = UHID_DESTROY;
  writeEvent(fd_, ev);
  close(fd_);
}

bool UhidTablet::send(const std::uint8_t* report, std::size_t size) {
  uhid_event ev{};
  ev.type = UHID_INPUT2;
  ev.u.input2.size = static_cast<std::uint16_t>(size);
  std::memcpy(ev.u.input2.data, report, size);
  return writeEvent(fd_, ev);
}

void UhidTablet::serve() {
  while (!stop_) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, 50) > 0) handleOne();
  }
}

void UhidTablet::handleOne() {
  uhid_event ev{};
  if (read(fd_, &ev, sizeof ev) <= 0) return;
  uhid_event reply{};
  switch (ev.type) {
    case UHID_SET_REPORT: {
      {
        std::lock_guard lock(mutex_);
        features_.emplace_back(ev.u.set_report.data, ev.u.set_report.data + ev.u.set_report.size);
      }
      changed_.notify_all();
      reply.type = UHID_SET_REPORT_REPLY;
      reply.u.set_report_reply.id = ev.u.set_report.id;
      reply.u.set_report_reply.err = 0;
      writeEvent(fd_, reply);
      break;
    }
    case UHID_GET_REPORT:
      reply.type = UHID_GET_REPORT_REPLY;
      reply.u.get_report_reply.id = ev.u.get_report.id;
      reply.u.get_report_reply.err = EIO;
      writeEvent(fd_, reply);
      break;
    default: break;
  }
}

std::vector<std::vector<std::uint8_t>> UhidTablet::waitForFeatures(std::size_t count,
                                                                   int timeoutMs) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                    [&] { return features_.size() >= count; });
  return features_;
}

}  // namespace taviro::vm
