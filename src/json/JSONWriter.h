#pragma once
// The writer behind every serialise entry point.
#include <optional>
#include <string>

#include "foundation/Value.h"

namespace taviro::json {

// Appends the text of a dictionary or an array to `out`. On failure answers
// the message and leaves `out` as it was.
std::optional<std::string> writeJSON(const Value::Dict& dict, unsigned options, std::string& out);
std::optional<std::string> writeJSON(const Value::Array& array, unsigned options, std::string& out);

}  // namespace taviro::json
