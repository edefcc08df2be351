#pragma once
// The documents the JSON benchmark reads and writes.
#include <string>

namespace taviro::bench {

// The installed default shortcut file, as shipped (hand-laid-out, one record
// per line).
std::string shortcutFileDocument();

// A shortcut store: sixteen key records of ten members each, compact.
std::string shortcutStoreDocument();

// About `bytes` of mixed records (strings with escapes and non-ASCII text,
// integers, reals, literals, nesting), compact.
std::string recordsDocument(std::size_t bytes);

// About `bytes` of pen strokes: arrays of points that are mostly doubles
// needing all seventeen digits, compact.
std::string numbersDocument(std::size_t bytes);

}  // namespace taviro::bench
