#pragma once
// The text a writer produces, gathered in pieces and joined once at the end.
//
// Writes go through a pointer into the current piece with no check of their
// own: room() makes sure of the space first. The first piece lives inside the
// object and holds a short text (a shortcut store) without touching the heap;
// a longer text goes on in 64 KB pieces, which malloc hands out again and
// again from the same freed memory. The string is then allocated once, at
// its final size. Growing one string instead would allocate ever larger
// blocks, and malloc takes large blocks fresh from the system: each write of
// a 1 MB text would fault in some 700 new pages.
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace taviro::json {

// Copies n bytes, short runs without a call.
inline void copyBytes(char* to, const char* from, std::size_t n) {
  if (n >= 8 && n <= 16) {
    std::memcpy(to, from, 8);
    std::memcpy(to + n - 8, from + n - 8, 8);
  } else if (n >= 4 && n < 8) {
    std::memcpy(to, from, 4);
    std::memcpy(to + n - 4, from + n - 4, 4);
  } else {
    std::memcpy(to, from, n);
  }
}

class Output {
 public:
  // The most room() may be asked for at once.
  static constexpr std::size_t kMostRoom = 2048;

  Output() = default;
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  // Makes room for n <= kMostRoom more bytes and answers where they go;
  // advance() or advanceTo() then says how many were written.
  char* room(std::size_t n) {
    if (static_cast<std::size_t>(limit_ - at_) < n) startPiece();
    return at_;
  }
  void advance(std::size_t n) { at_ += n; }
  void advanceTo(char* end) { at_ = end; }

  void append(const char* bytes, std::size_t n) {
    if (n > kMostRoom) return appendLong(bytes, n);
    copyBytes(room(n), bytes, n);
    at_ += n;
  }
  template <std::size_t N>
  void append(const char (&literal)[N]) {
    append(literal, N - 1);
  }
  void append(char c) { *room(1) = c, ++at_; }

  // Appends all that was written to `text`.
  void appendTo(std::string& text) const;

 private:
  static constexpr std::size_t kPieceSize = 64 * 1024;

  // Out of line, so that the rare calls do not bloat every inlined write.
  [[gnu::noinline]] void startPiece();
  [[gnu::noinline]] void appendLong(const char* bytes, std::size_t n);

  char first_[8 * kMostRoom];
  std::vector<std::unique_ptr<char[]>> pieces_;  // after the first
  std::vector<std::string_view> written_;        // of the full pieces
  char* begin_ = first_;
  char* at_ = first_;
  char* limit_ = first_ + sizeof first_;
};

}  // namespace taviro::json
