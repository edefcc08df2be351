#pragma once
// What the fuzz targets share: a broken property ends the run with a message
// (libFuzzer keeps the input that caused it), and arbitrary bytes are taken
// apart into typed values.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace taviro::fuzz {

[[noreturn]] inline void fault(const char* target, const std::string& what) {
  std::fprintf(stderr, "%s: %s\n", target, what.c_str());
  std::abort();
}

// Values from the front of a byte string; zeros once it is used up.
class Bytes {
 public:
  explicit Bytes(std::string_view bytes) : rest_(bytes) {}

  // Any plain number (a bool takes flag(): not every byte is a bool).
  template <typename T>
  T take() {
    T v{};
    const std::size_t n = std::min(sizeof v, rest_.size());
    if (n > 0) std::memcpy(&v, rest_.data(), n);
    rest_.remove_prefix(n);
    return v;
  }
  bool flag() { return take<std::uint8_t>() & 1; }
  std::string_view rest() const { return rest_; }

 private:
  std::string_view rest_;
};

}  // namespace taviro::fuzz
