#pragma once
// The documents the JSON benchmark reads and writes.
#include <string>

namespace taviro::bench {

// A shortcut store: sixteen key records of ten members each, compact.
std::string shortcutStoreDocument();

// About `bytes` of mixed content (strings with escapes and non-ASCII text,
// integers, reals, literals, nesting), compact.
std::string generatedDocument(std::size_t bytes);

}  // namespace taviro::bench
