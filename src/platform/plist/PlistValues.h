#pragma once
// What a property-list file of Taviro's can hold. Reading and writing keep to
// the same limits and the same rules for text and dates, so that whatever is
// written reads back as it was, and whatever is read can be written again
// unchanged. A file beyond them is refused, never shortened or altered.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/Value.h"

namespace taviro::plist {

inline constexpr std::size_t kMaxBytes = std::size_t{64} << 20;  // 64 MiB
// Arrays and dictionaries inside one another, the outermost counting as one.
inline constexpr int kMaxDepth = 512;
// Values in all, shared parts of a binary list counted at every use.
inline constexpr std::size_t kMaxValues = std::size_t{1} << 20;

inline constexpr const char* kTooDeep = "arrays and dictionaries nested deeper than 512 levels";
inline constexpr const char* kTooManyValues = "more than 1048576 values";
inline constexpr const char* kTooLarge = "larger than 64 MiB";

// A parsed list, or why it was refused.
struct Parsed {
  std::optional<Value> value;
  std::string error;
};

// Why `text` cannot be a string or key of a property list (not UTF-8, or a
// character an XML document cannot carry, such as NUL), or nothing.
std::optional<std::string> textProblem(std::string_view text);

// Why a date (seconds since 1970) cannot be written: not finite, outside the
// years 1 to 9999 that the file's date form spells, or with a fraction of a
// second that whole seconds plus the written fraction would not give back.
std::optional<std::string> dateProblem(double secondsSince1970);

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day);
struct CivilDate {
  std::int64_t year;
  unsigned month, day;
};
CivilDate civilFromDays(std::int64_t days);

Parsed parseXml(std::string_view text);
Parsed parseBinary(std::string_view bytes);

// The XML text of `root`, or why it cannot be written so that it reads back.
struct Written {
  std::optional<std::string> text;
  std::string error;
};
Written writeXml(const Value::Dict& root);

}  // namespace taviro::plist
