#pragma once
// The recursive-descent reader behind every parse entry point.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/Value.h"

namespace taviro::json {

struct ParseFailure {
  std::string message;
  std::size_t index = 0;  // byte index into the text
  std::size_t line = 1;   // counting from 1
};

// Parses a whole text with the given (already validated) option set. On
// failure answers nothing and describes the first fault found in `failure`.
std::optional<Value> readJSON(std::string_view text, unsigned options, ParseFailure& failure);

}  // namespace taviro::json
