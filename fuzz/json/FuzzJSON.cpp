// Feeds arbitrary bytes to the reader. A first byte below 16 selects the
// parse options; the rest is the text. Whatever parses must write back, in
// every layout, to a text that parses strictly to the same tree.
//
// The quick number conversions are checked against the exact ones on the
// same bytes: every number token in the text must read as std::from_chars
// reads it, and every eight bytes taken as a double must be written as
// snprintf's "%.17g" writes it.
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "json/NumberFormat.h"
#include "json/JSONKit.h"
#include "json/NumberToken.h"

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

void checkNumberTokens(const std::uint8_t* data, std::size_t size) {
  using Kind = taviro::json::NumberToken::Kind;
  const std::uint8_t* end = data + size;
  for (const std::uint8_t* p = data; p < end; ++p) {
    if (*p != '-' && (*p < '0' || *p > '9')) continue;
    const auto token = taviro::json::readNumberToken(p, end);
    const auto* from = reinterpret_cast<const char*>(p);
    const auto* to = reinterpret_cast<const char*>(token.end);
    if (token.kind == Kind::Real || token.kind == Kind::OutOfRange) {
      const std::string_view text(from, static_cast<std::size_t>(to - from));
      const bool integral = text.find_first_of(".eE") == std::string_view::npos;
      double exact = 0;
      const auto [stop, error] = std::from_chars(from, to, exact);
      if (token.kind == Kind::Real &&
          (error != std::errc() || stop != to ||
           std::bit_cast<std::uint64_t>(exact) != std::bit_cast<std::uint64_t>(token.d)))
        fault("a number reads otherwise than std::from_chars reads it");
      if (token.kind == Kind::OutOfRange && !integral && error != std::errc::result_out_of_range)
        fault("a number is out of range where std::from_chars finds it in range");
    }
    if (token.kind != Kind::Malformed) p = token.end - 1;
  }
}

void checkRealFormatting(const std::uint8_t* data, std::size_t size) {
  for (std::size_t i = 0; i + 8 <= size; i += 8) {
    double d;
    std::memcpy(&d, data + i, 8);
    if (!std::isfinite(d)) continue;
    char expected[40], written[taviro::json::kRealBufferSize];
    std::snprintf(expected, sizeof expected, "%.17g", d);
    *taviro::json::formatReal(d, written) = '\0';
    if (std::strcmp(expected, written) != 0) fault("a double is written otherwise than \"%.17g\"");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  checkNumberTokens(data, size);
  checkRealFormatting(data, size);
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
