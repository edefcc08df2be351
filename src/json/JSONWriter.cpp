#include "json/JSONWriter.h"

#include <charconv>
#include <cmath>

#include "json/JSONKit.h"
#include "json/Nesting.h"
#include "json/Utf8.h"

namespace taviro::json {
namespace {

constexpr char kHex[] = "0123456789abcdef";

// Bytes a string may hold as they are: printable ASCII other than the quote
// and the backslash (and the slash when it is escaped).
struct PlainBytes {
  bool table[256] = {};
  constexpr explicit PlainBytes(bool escapeSlash) {
    for (int c = 0x20; c < 0x80; ++c) table[c] = c != '"' && c != '\\' && !(escapeSlash && c == '/');
  }
};
constexpr PlainBytes kPlain(false);
constexpr PlainBytes kPlainWithEscapedSlash(true);

class Writer {
 public:
  Writer(unsigned options, std::string& out)
      : options_(options),
        plain_((options & JKSerializeOptionEscapeForwardSlashes) ? kPlainWithEscapedSlash.table
                                                                 : kPlain.table),
        out_(out) {}

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
    out_ += '\n';
    out_.append(2 * level, ' ');
  }

  bool writeValue(const Value& value, std::size_t level) {
    switch (value.type()) {
      case Value::Type::Null: out_ += "null"; return true;
      case Value::Type::Bool: out_ += *value.asBool() ? "true" : "false"; return true;
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
    char buf[24];
    const auto result = std::to_chars(buf, buf + sizeof buf, n);
    out_.append(buf, result.ptr);
    return true;
  }

  bool writeReal(double d) {
    if (!std::isfinite(d))
      return fail("Floating point values must be finite.  JSON does not support NaN or Infinity.");
    // Same digits as printf's "%.17g", but never a locale's decimal comma.
    char buf[32];
    const auto result = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::general, 17);
    out_.append(buf, result.ptr);
    return true;
  }

  bool writeArray(const Value::Array& array, std::size_t level) {
    if (level >= JKMaximumDepth) return fail(kNestingTooDeep);
    out_ += '[';
    bool first = true;
    for (const Value& element : array) {
      if (!first) out_ += ',';
      first = false;
      if (pretty()) newline(level + 1);
      if (!writeValue(element, level + 1)) return false;
    }
    if (pretty() && !array.empty()) newline(level);
    out_ += ']';
    return true;
  }

  // Dict keeps its keys in byte order, so both layouts write them sorted.
  bool writeDict(const Value::Dict& dict, std::size_t level) {
    if (level >= JKMaximumDepth) return fail(kNestingTooDeep);
    out_ += '{';
    bool first = true;
    for (const auto& [key, member] : dict) {
      if (!first) out_ += ',';
      first = false;
      if (pretty()) newline(level + 1);
      writeString(key);
      out_ += pretty() ? ": " : ":";
      if (!writeValue(member, level + 1)) return false;
    }
    if (pretty() && !dict.empty()) newline(level);
    out_ += '}';
    return true;
  }

  void writeUnicodeEscape(char32_t unit) {
    const char escape[6] = {'\\', 'u', kHex[(unit >> 12) & 0xF], kHex[(unit >> 8) & 0xF],
                            kHex[(unit >> 4) & 0xF], kHex[unit & 0xF]};
    out_.append(escape, 6);
  }

  void writeCodePoint(char32_t cp) {
    if (!(options_ & JKSerializeOptionEscapeUnicode)) {
      appendUtf8(out_, cp);
    } else if (cp < 0x10000) {
      writeUnicodeEscape(cp);
    } else {
      const char32_t v = cp - 0x10000;
      writeUnicodeEscape(0xD800 + (v >> 10));
      writeUnicodeEscape(0xDC00 + (v & 0x3FF));
    }
  }

  // Bytes that are not UTF-8 (a string built in code, not parsed) are written
  // as U+FFFD so that the text stays readable.
  void writeString(const std::string& s) {
    out_ += '"';
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const auto* end = p + s.size();
    while (p < end) {
      const auto* run = p;
      while (p < end && plain_[*p]) ++p;
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
        case '"': out_ += "\\\""; break;
        case '\\': out_ += "\\\\"; break;
        case '/': out_ += "\\/"; break;
        case '\b': out_ += "\\b"; break;
        case '\t': out_ += "\\t"; break;
        case '\n': out_ += "\\n"; break;
        case '\f': out_ += "\\f"; break;
        case '\r': out_ += "\\r"; break;
        default: writeUnicodeEscape(c); break;
      }
    }
    out_ += '"';
  }

  const unsigned options_;
  const bool* const plain_;
  std::string& out_;
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
