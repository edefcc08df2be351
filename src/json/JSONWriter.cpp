#include "json/JSONWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "json/FormatReal.h"
#include "json/JSONKit.h"
#include "json/Nesting.h"
#include "json/PlainBytes.h"
#include "json/Utf8.h"

namespace taviro::json {
namespace {

constexpr char kHex[] = "0123456789abcdef";

// The text being written: a std::string grown ahead of the writes, so that
// each piece is copied with no check of its own. The destructor cuts the
// string to what was written.
class Output {
 public:
  explicit Output(std::string& text) : text_(text), at_(text.data()), limit_(at_ + text.size()) {}
  ~Output() { text_.resize(static_cast<std::size_t>(at_ - text_.data())); }

  // Makes room for n more bytes and answers where they go; advance() then
  // says how many were written.
  char* room(std::size_t n) {
    if (static_cast<std::size_t>(limit_ - at_) < n) grow(n);
    return at_;
  }
  void advance(std::size_t n) { at_ += n; }
  void advanceTo(char* end) { at_ = end; }

  void append(const char* bytes, std::size_t n) {
    std::memcpy(room(n), bytes, n);
    at_ += n;
  }
  template <std::size_t N>
  void append(const char (&literal)[N]) {
    append(literal, N - 1);
  }
  void append(char c) { *room(1) = c, ++at_; }

 private:
  [[gnu::noinline]] void grow(std::size_t n) {
    const auto used = static_cast<std::size_t>(at_ - text_.data());
    text_.resize(std::max(2 * text_.size(), used + n + 256));
    at_ = text_.data() + used;
    limit_ = text_.data() + text_.size();
  }

  std::string& text_;
  char* at_;
  char* limit_;
};

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

class Writer {
 public:
  Writer(unsigned options, std::string& out) : options_(options), out_(out) {}

  std::optional<std::string> run(const Value::Dict& dict) {
    writeDict(dict, 0);
    return std::move(error_);
  }

  std::optional<std::string> run(const Value::Array& array) {
    writeArray(array, 0);
    return std::move(error_);
  }

 private:
  bool pretty() const { return options_ & JKSerializeOptionPretty; }

  bool fail(std::string message) {
    error_ = std::move(message);
    return false;
  }

  void newline(std::size_t level) {
    char* at = out_.room(1 + 2 * level);
    *at = '\n';
    std::memset(at + 1, ' ', 2 * level);
    out_.advance(1 + 2 * level);
  }

  bool writeValue(const Value& value, std::size_t level) {
    switch (value.type()) {
      case Value::Type::Null: out_.append("null"); return true;
      case Value::Type::Bool:
        if (*value.asBool()) out_.append("true");
        else out_.append("false");
        return true;
      case Value::Type::Int: return writeInteger(*value.asInt());
      case Value::Type::UInt: return writeInteger(*value.asUInt());
      case Value::Type::Real: return writeReal(*value.asReal());
      case Value::Type::String: writeString(*value.asString()); return true;
      case Value::Type::Data: return fail("Unable to serialize object class NSData.");
      case Value::Type::Date: return fail("Unable to serialize object class NSDate.");
      case Value::Type::Array: return writeArray(*value.asArray(), level);
      case Value::Type::Dict: return writeDict(*value.asDict(), level);
    }
    return fail("Unable to serialize object class NSObject.");
  }

  template <typename Integer>
  bool writeInteger(Integer n) {
    constexpr std::size_t kMostDigits = 20;
    char* at = out_.room(kMostDigits);
    out_.advanceTo(std::to_chars(at, at + kMostDigits, n).ptr);
    return true;
  }

  bool writeReal(double d) {
    if (!std::isfinite(d))
      return fail("Floating point values must be finite.  JSON does not support NaN or Infinity.");
    out_.advanceTo(formatReal(d, out_.room(kRealBufferSize)));
    return true;
  }

  bool writeArray(const Value::Array& array, std::size_t level) {
    if (level >= JKMaximumDepth) return fail(kNestingTooDeep);
    out_.append('[');
    bool first = true;
    for (const Value& element : array) {
      if (!first) out_.append(',');
      first = false;
      if (pretty()) newline(level + 1);
      if (!writeValue(element, level + 1)) return false;
    }
    if (pretty() && !array.empty()) newline(level);
    out_.append(']');
    return true;
  }

  // Dict keeps its keys in byte order, so both layouts write them sorted.
  bool writeDict(const Value::Dict& dict, std::size_t level) {
    if (level >= JKMaximumDepth) return fail(kNestingTooDeep);
    out_.append('{');
    bool first = true;
    for (const auto& [key, member] : dict) {
      if (!first) out_.append(',');
      first = false;
      if (pretty()) newline(level + 1);
      writeString(key);
      if (pretty()) out_.append(": ");
      else out_.append(':');
      if (!writeValue(member, level + 1)) return false;
    }
    if (pretty() && !dict.empty()) newline(level);
    out_.append('}');
    return true;
  }

  void writeUnicodeEscape(char32_t unit) {
    const char escape[6] = {'\\', 'u', kHex[(unit >> 12) & 0xF], kHex[(unit >> 8) & 0xF],
                            kHex[(unit >> 4) & 0xF], kHex[unit & 0xF]};
    out_.append(escape, 6);
  }

  void writeCodePoint(char32_t cp) {
    if (!(options_ & JKSerializeOptionEscapeUnicode)) {
      char* at = out_.room(4);
      out_.advanceTo(at + encodeUtf8(cp, at));
    } else if (cp < 0x10000) {
      writeUnicodeEscape(cp);
    } else {
      const char32_t v = cp - 0x10000;
      writeUnicodeEscape(0xD800 + (v >> 10));
      writeUnicodeEscape(0xDC00 + (v & 0x3FF));
    }
  }

  void writeString(const std::string& s) {
    if (options_ & JKSerializeOptionEscapeForwardSlashes) writeString<true>(s);
    else writeString<false>(s);
  }

  // Bytes that are not UTF-8 (a string built in code, not parsed) are written
  // as U+FFFD so that the text stays readable.
  template <bool kEscapeSlash>
  void writeString(const std::string& s) {
    const auto* begin = reinterpret_cast<const unsigned char*>(s.data());
    const auto* end = begin + s.size();
    const auto* p = skipPlainBytes<kEscapeSlash>(begin, begin, end);
    if (p == end) {  // nothing to escape: the usual case
      char* at = out_.room(s.size() + 2);
      *at = '"';
      copyBytes(at + 1, s.data(), s.size());
      at[s.size() + 1] = '"';
      out_.advance(s.size() + 2);
      return;
    }
    out_.append('"');
    out_.append(s.data(), static_cast<std::size_t>(p - begin));
    while (p < end) {
      const auto* run = p;
      p = skipPlainBytes<kEscapeSlash>(begin, p, end);
      out_.append(reinterpret_cast<const char*>(run), static_cast<std::size_t>(p - run));
      if (p == end) break;
      const unsigned char c = *p;
      if (c >= 0x80) {
        const Utf8Sequence seq = decodeUtf8(p, end);
        if (seq.status != Utf8Sequence::Status::Ok) {
          writeCodePoint(kReplacementCharacter);
        } else if (options_ & JKSerializeOptionEscapeUnicode) {
          writeCodePoint(seq.codePoint);
        } else {
          out_.append(reinterpret_cast<const char*>(p), seq.length);
        }
        p += seq.length;
        continue;
      }
      ++p;
      switch (c) {
        case '"': out_.append("\\\""); break;
        case '\\': out_.append("\\\\"); break;
        case '/': out_.append("\\/"); break;
        case '\b': out_.append("\\b"); break;
        case '\t': out_.append("\\t"); break;
        case '\n': out_.append("\\n"); break;
        case '\f': out_.append("\\f"); break;
        case '\r': out_.append("\\r"); break;
        default: writeUnicodeEscape(c); break;
      }
    }
    out_.append('"');
  }

  const unsigned options_;
  Output out_;
  std::optional<std::string> error_;
};

}  // namespace

std::optional<std::string> writeJSON(const Value::Dict& dict, unsigned options, std::string& out) {
  return Writer(options, out).run(dict);
}

std::optional<std::string> writeJSON(const Value::Array& array, unsigned options,
                                     std::string& out) {
  return Writer(options, out).run(array);
}

}  // namespace taviro::json
