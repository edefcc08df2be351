#include "json/Output.h"

#include <algorithm>

namespace taviro::json {

void Output::startPiece() {
  written_.emplace_back(begin_, static_cast<std::size_t>(at_ - begin_));
  pieces_.push_back(std::make_unique_for_overwrite<char[]>(kPieceSize));
  begin_ = at_ = pieces_.back().get();
  limit_ = begin_ + kPieceSize;
}

void Output::appendLong(const char* bytes, std::size_t n) {
  while (n > 0) {
    if (at_ == limit_) startPiece();
    const std::size_t part = std::min(n, static_cast<std::size_t>(limit_ - at_));
    std::memcpy(at_, bytes, part);
    at_ += part;
    bytes += part;
    n -= part;
  }
}

void Output::appendTo(std::string& text) const {
  const auto last = static_cast<std::size_t>(at_ - begin_);
  std::size_t size = text.size() + last;
  for (const std::string_view piece : written_) size += piece.size();
  text.reserve(size);
  for (const std::string_view piece : written_) text += piece;
  text.append(begin_, last);
}

}  // namespace taviro::json
