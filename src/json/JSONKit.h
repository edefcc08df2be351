#pragma once
// The system's JSON reader and writer. Texts are UTF-8; parsed trees are
// taviro::Value (objects become Value::Dict, arrays Value::Array, integers
// Value::Int when negative and Value::UInt otherwise, numbers with a fraction
// or exponent and -0 become Value::Real).
//
// Results: a plain parse hands back an immutable tree (a shared pointer to a
// const Value, null on failure); a mutable parse hands back a Value the caller
// owns and may edit at any depth (empty optional on failure). Writers hand back
// the text, or an empty optional on failure.
//
// Every operation that takes an error out-parameter fills it on failure and
// leaves it alone on success; passing nullptr means "not interested".
//
// Parse option sets of 16 and above are refused: creating a decoder with them
// (which every parse operation does) throws std::invalid_argument with the
// reason "Invalid parse options.".
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Value.h"

namespace taviro {

// Parse options, a bit set (0 is strict JSON).
using JKParseOptionFlags = unsigned;
inline constexpr JKParseOptionFlags JKParseOptionStrict = 0;
// "//" to the end of the line and "/*" to "*/" count as white space.
inline constexpr JKParseOptionFlags JKParseOptionComments = 1;
// U+0085, U+2028 and U+2029 count as white space that ends a line.
inline constexpr JKParseOptionFlags JKParseOptionUnicodeLineEnds = 2;
// Malformed UTF-8, lone surrogates, U+0000 and non-characters inside strings
// become U+FFFD instead of failing.
inline constexpr JKParseOptionFlags JKParseOptionLooseUnicode = 4;
// Text after the top-level value is ignored.
inline constexpr JKParseOptionFlags JKParseOptionTextAfterValue = 8;

// Serialise options, a bit set (0 is compact).
using JKSerializeOptionFlags = unsigned;
inline constexpr JKSerializeOptionFlags JKSerializeOptionNone = 0;
// Line breaks, two spaces of indentation per level, ": " after keys.
inline constexpr JKSerializeOptionFlags JKSerializeOptionPretty = 1;
// Characters outside ASCII written as \u escapes (surrogate pairs above U+FFFF).
inline constexpr JKSerializeOptionFlags JKSerializeOptionEscapeUnicode = 2;
// The slash written as "\/".
inline constexpr JKSerializeOptionFlags JKSerializeOptionEscapeForwardSlashes = 16;

// Nesting deeper than this many arrays and objects fails, when reading and
// when writing, so that hostile input cannot exhaust the stack.
inline constexpr std::size_t JKMaximumDepth = 512;

inline constexpr const char* JKErrorDomain = "JKErrorDomain";
inline constexpr const char* JKAtIndexKey = "JKAtIndexKey";
inline constexpr const char* JKLineNumberKey = "JKLineNumberKey";

// A failure, shaped like an error object of the domain "JKErrorDomain".
struct JKError {
  std::string domain = JKErrorDomain;
  int code = -1;
  std::string localizedDescription;
  // "JKAtIndexKey": byte index into the UTF-8 text where parsing stood.
  // "JKLineNumberKey": line number there, counting from 1.
  // Both are set for parse failures only.
  std::optional<std::size_t> atIndex;
  std::optional<std::size_t> lineNumber;
};

using JSONBytes = std::span<const std::uint8_t>;

// A reusable decoder. Not for use by two threads at once.
class JSONDecoder {
 public:
  // Throws std::invalid_argument("Invalid parse options.") for options >= 16.
  static JSONDecoder decoderWithParseOptions(JKParseOptionFlags options);

  std::shared_ptr<const Value> objectWithUTF8String(const char* bytes, std::size_t length,
                                                    JKError* error = nullptr);
  std::optional<Value> mutableObjectWithUTF8String(const char* bytes, std::size_t length,
                                                   JKError* error = nullptr);
  std::shared_ptr<const Value> objectWithData(JSONBytes data, JKError* error = nullptr);
  std::optional<Value> mutableObjectWithData(JSONBytes data, JKError* error = nullptr);

  JKParseOptionFlags parseOptions() const { return options_; }

 private:
  explicit JSONDecoder(JKParseOptionFlags options) : options_(options) {}
  std::optional<Value> parse(std::string_view text, JKError* error);

  JKParseOptionFlags options_;
};

// Parsing a string (UTF-8 text). A std::string_view always converts to UTF-8
// completely, so the string-to-UTF-8 conversion failure cannot occur; bytes
// that are not UTF-8 are judged by the string rules (fail, or U+FFFD with
// JKParseOptionLooseUnicode).
std::shared_ptr<const Value> objectFromJSONString(std::string_view text);
std::shared_ptr<const Value> objectFromJSONStringWithParseOptions(std::string_view text,
                                                                  JKParseOptionFlags options);
std::shared_ptr<const Value> objectFromJSONStringWithParseOptions(std::string_view text,
                                                                  JKParseOptionFlags options,
                                                                  JKError* error);
std::optional<Value> mutableObjectFromJSONString(std::string_view text);
std::optional<Value> mutableObjectFromJSONStringWithParseOptions(std::string_view text,
                                                                 JKParseOptionFlags options);
std::optional<Value> mutableObjectFromJSONStringWithParseOptions(std::string_view text,
                                                                 JKParseOptionFlags options,
                                                                 JKError* error);

// Parsing a byte buffer of UTF-8.
std::shared_ptr<const Value> objectFromJSONData(JSONBytes data);
std::shared_ptr<const Value> objectFromJSONDataWithParseOptions(JSONBytes data,
                                                                JKParseOptionFlags options);
std::shared_ptr<const Value> objectFromJSONDataWithParseOptions(JSONBytes data,
                                                                JKParseOptionFlags options,
                                                                JKError* error);
std::optional<Value> mutableObjectFromJSONData(JSONBytes data);
std::optional<Value> mutableObjectFromJSONDataWithParseOptions(JSONBytes data,
                                                               JKParseOptionFlags options);
std::optional<Value> mutableObjectFromJSONDataWithParseOptions(JSONBytes data,
                                                               JKParseOptionFlags options,
                                                               JKError* error);

// Writing a dictionary or an array. Compact output (options 0) has no white
// space; dictionary members come in key order (byte-wise), which is also the
// sorted order the pretty layout promises.
std::optional<std::string> JSONString(const Value::Dict& dict);
std::optional<std::string> JSONString(const Value::Array& array);
std::optional<std::vector<std::uint8_t>> JSONData(const Value::Dict& dict);
std::optional<std::vector<std::uint8_t>> JSONData(const Value::Array& array);
std::optional<std::string> JSONStringWithOptions(const Value::Dict& dict,
                                                 JKSerializeOptionFlags options,
                                                 JKError* error = nullptr);
std::optional<std::string> JSONStringWithOptions(const Value::Array& array,
                                                 JKSerializeOptionFlags options,
                                                 JKError* error = nullptr);
std::optional<std::vector<std::uint8_t>> JSONDataWithOptions(const Value::Dict& dict,
                                                             JKSerializeOptionFlags options,
                                                             JKError* error = nullptr);
std::optional<std::vector<std::uint8_t>> JSONDataWithOptions(const Value::Array& array,
                                                             JKSerializeOptionFlags options,
                                                             JKError* error = nullptr);

}  // namespace taviro
