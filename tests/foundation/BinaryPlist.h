#pragma once
// Builds binary property lists for tests from raw objects: the first object
// is the top one, references are `refSize` bytes wide.
#include <cstdint>
#include <string>
#include <vector>

namespace taviro::testing {

inline std::string bigEndian(std::uint64_t v, int size) {
  std::string out;
  for (int k = size - 1; k >= 0; --k) out += static_cast<char>((v >> (8 * k)) & 0xFF);
  return out;
}

// An array or dictionary marker with its references.
inline std::string container(unsigned char kind, const std::vector<std::uint64_t>& refs,
                             int refSize = 1) {
  std::string out(1, static_cast<char>(kind));
  const std::size_t n = kind == 0xD0 ? refs.size() / 2 : refs.size();
  if (n < 15) out[0] = static_cast<char>(kind | n);
  else out += static_cast<char>(kind | 0xF) + std::string("\x13") + bigEndian(n, 8);
  for (std::uint64_t ref : refs) out += bigEndian(ref, refSize);
  return out;
}

inline std::string asciiObject(const std::string& s) {
  return static_cast<char>(0x50 | s.size()) + s;  // shorter than 15 characters
}

inline std::string binaryPlist(const std::vector<std::string>& objects, int refSize = 1) {
  std::string out = "bplist00";
  std::vector<std::size_t> offsets;
  for (const std::string& o : objects) {
    offsets.push_back(out.size());
    out += o;
  }
  const std::size_t table = out.size();
  for (std::size_t offset : offsets) out += bigEndian(offset, 4);
  out += std::string(6, '\0') + '\x04' + static_cast<char>(refSize);
  out += bigEndian(objects.size(), 8) + bigEndian(0, 8) + bigEndian(table, 8);
  return out;
}

}  // namespace taviro::testing
