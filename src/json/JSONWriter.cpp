#include "json/JSONWriter.h"

#include <cmath>
#include <cstring>

#include "json/NumberFormat.h"
#include "json/JSONKit.h"
#include "json/Nesting.h"
#include "json/Output.h"
#include "json/PlainBytes.h"
#include "json/Utf8.h"

namespace taviro::json {
namespace {

constexpr char kHex[] = "0123456789abcdef";

class Writer {
 public:
  explicit Writer(unsigned options) : options_(options) {}

  // Writes a dictionary or an array and, if that works, appends the text to
  // `text`; answers the failure's message otherwise.
  template <typename Container>
  std::optional<std::string> run(const Container& container, std::string& text) {
    if (!write(container, 0)) return std::move(error_);
    out_.appendTo(text);
    return std::nullopt;
  }

 private:
  bool pretty() const { return options_ & JKSerializeOptionPretty; }

  bool fail(std::string message) {
    error_ = std::move(message);
    return false;
  }

  void newline(std::size_t level) {
    static_assert(1 + 2 * JKMaximumDepth <= Output::kMostRoom, "the deepest indentation fits");
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
      case Value::Type::Array: return write(*value.asArray(), level);
      case Value::Type::Dict: return write(*value.asDict(), level);
    }
    return fail("Unable to serialize object class NSObject.");
  }

  template <typename Integer>
  bool writeInteger(Integer n) {
    out_.advanceTo(formatInteger(n, out_.room(kIntegerBufferSize)));
    return true;
  }

  bool writeReal(double d) {
    if (!std::isfinite(d))
      return fail("Floating point values must be finite.  JSON does not support NaN or Infinity.");
    out_.advanceTo(formatReal(d, out_.room(kRealBufferSize)));
    return true;
  }

  bool write(const Value::Array& array, std::size_t level) {
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
  bool write(const Value::Dict& dict, std::size_t level) {
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

  // Strings with nothing to escape, the usual case, are written inline in one
  // piece; the others by writeEscapedString().
  [[gnu::always_inline]] void writeString(const std::string& s) {
    const auto* begin = reinterpret_cast<const unsigned char*>(s.data());
    const auto* end = begin + s.size();
    const bool escapeSlash = options_ & JKSerializeOptionEscapeForwardSlashes;
    const auto* p = escapeSlash ? skipPlainBytes<true>(begin, begin, end)
                                : skipPlainBytes<false>(begin, begin, end);
    if (p != end || s.size() + 2 > Output::kMostRoom) {
      if (escapeSlash) writeEscapedString<true>(begin, p, end);
      else writeEscapedString<false>(begin, p, end);
      return;
    }
    char* at = out_.room(s.size() + 2);
    *at = '"';
    copyBytes(at + 1, s.data(), s.size());
    at[s.size() + 1] = '"';
    out_.advance(s.size() + 2);
  }

  // Writes the string from `begin` to `end`, the first byte that may need
  // escaping at p. Runs that stand as they are (plain ASCII and, unless
  // non-ASCII is escaped, well-formed UTF-8) are copied whole. Bytes that are
  // not UTF-8 (a string built in code, not parsed) are written as U+FFFD so
  // that the text stays readable.
  template <bool kEscapeSlash>
  [[gnu::noinline]] void writeEscapedString(const unsigned char* begin, const unsigned char* p,
                                            const unsigned char* end) {
    const bool escapeUnicode = options_ & JKSerializeOptionEscapeUnicode;
    const auto flush = [this](const unsigned char* from, const unsigned char* to) {
      out_.append(reinterpret_cast<const char*>(from), static_cast<std::size_t>(to - from));
    };
    out_.append('"');
    for (const auto* run = begin;; p = skipPlainBytes<kEscapeSlash>(begin, p, end)) {
      if (p == end) {
        flush(run, end);
        break;
      }
      if (*p >= 0x80) {
        const Utf8Sequence seq = decodeUtf8(p, end);
        const bool wellFormed = seq.status == Utf8Sequence::Status::Ok;
        if (wellFormed && !escapeUnicode) {
          p += seq.length;
          continue;
        }
        flush(run, p);
        writeCodePoint(wellFormed ? seq.codePoint : kReplacementCharacter);
        p += seq.length;
      } else {
        flush(run, p);
        writeEscape(*p++);
      }
      run = p;
    }
    out_.append('"');
  }

  void writeEscape(unsigned char c) {
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

  const unsigned options_;
  Output out_;
  std::optional<std::string> error_;
};

}  // namespace

std::optional<std::string> writeJSON(const Value::Dict& dict, unsigned options, std::string& out) {
  return Writer(options).run(dict, out);
}

std::optional<std::string> writeJSON(const Value::Array& array, unsigned options,
                                     std::string& out) {
  return Writer(options).run(array, out);
}

}  // namespace taviro::json
