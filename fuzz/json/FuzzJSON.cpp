// Feeds arbitrary bytes to the reader. A first byte below 16 selects the
// parse options; the rest is the text. Whatever parses must write back, in
// every layout, to a text that parses strictly to the same tree.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string_view>

#include "json/JSONKit.h"

namespace {

using taviro::Value;

// Equal trees, with numbers compared by value: the writer prints an integral
// double such as 1.0 as "1", which reads back as an integer.
bool sameTree(const Value& a, const Value& b) {
  if (a.asReal() || b.asReal()) {
    if (!a.isNumber() || !b.isNumber() || a.asBool() || b.asBool()) return false;
    if (a.asReal() && b.asReal())  // "-0" reads back as -0.0
      return *a.asReal() == *b.asReal() && std::signbit(*a.asReal()) == std::signbit(*b.asReal());
    return a.doubleValue() == b.doubleValue();
  }
  if (a.type() != b.type()) return false;
  if (auto* array = a.asArray()) {
    const auto& other = *b.asArray();
    if (array->size() != other.size()) return false;
    for (std::size_t i = 0; i < array->size(); ++i)
      if (!sameTree((*array)[i], other[i])) return false;
    return true;
  }
  if (auto* dict = a.asDict()) {
    const auto& other = *b.asDict();
    if (dict->size() != other.size()) return false;
    for (auto i = dict->begin(), j = other.begin(); i != dict->end(); ++i, ++j)
      if (i->first != j->first || !sameTree(i->second, j->second)) return false;
    return true;
  }
  return a == b;
}

[[noreturn]] void fault(const char* what) {
  std::fprintf(stderr, "fuzz_json: %s\n", what);
  std::abort();
}

std::optional<std::string> write(const Value& tree, unsigned options) {
  if (auto* dict = tree.asDict()) return taviro::JSONStringWithOptions(*dict, options);
  if (auto* array = tree.asArray()) return taviro::JSONStringWithOptions(*array, options);
  fault("top-level value is neither an object nor an array");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  unsigned options = 0;
  if (size > 0 && data[0] < 16) {
    options = data[0];
    ++data;
    --size;
  }
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  taviro::JKError error;
  const auto tree = taviro::mutableObjectFromJSONStringWithParseOptions(text, options, &error);
  if (!tree) {
    if (error.localizedDescription.empty() || !error.atIndex || *error.atIndex > size ||
        !error.lineNumber || *error.lineNumber < 1)
      fault("failure without a proper error");
    return 0;
  }
  const auto compact = write(*tree, taviro::JKSerializeOptionNone);
  if (!compact) fault("parsed tree does not write back");
  for (unsigned writeOptions : {0u, 1u, 2u, 16u, 1u | 2u | 16u}) {
    const auto written = writeOptions == 0 ? compact : write(*tree, writeOptions);
    if (!written) fault("parsed tree does not write back");
    const auto again = taviro::mutableObjectFromJSONString(*written);
    if (!again) fault("written text does not parse strictly");
    if (!sameTree(*tree, *again)) fault("written text parses to another tree");
    if (write(*again, taviro::JKSerializeOptionNone) != compact)
      fault("re-reading and writing again changes the compact text");
  }
  return 0;
}
