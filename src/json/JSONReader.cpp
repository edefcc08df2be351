#include "json/JSONReader.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "json/JSONKit.h"
#include "json/Nesting.h"
#include "json/Utf8.h"

namespace taviro::json {
namespace {

using Byte = unsigned char;

enum class Token {
  End,
  Invalid,
  LBrace,
  RBrace,
  LBracket,
  RBracket,
  Comma,
  Colon,
  String,
  Number,
  True,
  False,
  Null,
};

bool isDigit(Byte c) { return c >= '0' && c <= '9'; }

int hexValue(Byte c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

constexpr const char* kUnexpectedToken =
    "Unexpected token, wanted '{', '}', '[', ']', ',', ':', 'true', 'false', 'null', "
    "'\"STRING\"', 'NUMBER'.";
constexpr const char* kAValue = "a value";
constexpr const char* kAComma = "a comma";
constexpr const char* kACloseBrace = "a '}'";
constexpr const char* kACloseBracket = "a ']'";
constexpr const char* kAString = "a \"STRING\"";
constexpr const char* kIllegalEscape = "Illegal \\u Unicode escape sequence.";
constexpr const char* kIllegalUtf8 = "Illegal UTF8 sequence found in \"\" string.";

class Reader {
 public:
  Reader(std::string_view text, unsigned options, ParseFailure& failure)
      : begin_(reinterpret_cast<const Byte*>(text.data())),
        p_(begin_),
        end_(begin_ + text.size()),
        options_(options),
        failure_(failure) {}

  std::optional<Value> run() {
    Value root;
    if (!parseRoot(root)) return std::nullopt;
    return root;
  }

 private:
  bool parseRoot(Value& root) {
    const Token first = next();
    if (first == Token::End) return fail(p_);
    if (first != Token::LBrace && first != Token::LBracket)
      return fail(p_, "Expected either '[' or '{'.");
    if (!parseValue(root, first)) return false;
    if (options_ & JKParseOptionTextAfterValue) return true;
    if (!skipSpace()) return fail(p_);
    if (p_ != end_)
      return fail(p_,
                  "A valid JSON object was parsed but there were additional non-white-space "
                  "characters remaining.");
    return true;
  }

  // Records the failure at `at`. Without a message, the failure says whether
  // parsing ran out of text or stopped somewhere else.
  bool fail(const Byte* at, std::string message = {}) {
    if (message.empty())
      message = at == end_ ? "Reached the end of the buffer." : "Unable to parse JSON.";
    failure_ = {std::move(message), static_cast<std::size_t>(at - begin_), line_};
    return false;
  }

  // "Expected a comma or a ']', not ':'" and its one-alternative form.
  bool failExpected(const char* first, const char* second = nullptr) {
    std::string message = std::string("Expected ") + first;
    if (second) message += std::string(" or ") + second;
    message += ", not '";
    message.append(reinterpret_cast<const char*>(p_), tokenLength());
    message += "'";
    return fail(p_, std::move(message));
  }

  // Length of the token at p_ for error messages (only non-string tokens are
  // ever shown).
  std::size_t tokenLength() const {
    const Byte c = *p_;
    if (c == '-' || isDigit(c)) {
      const Byte* q = p_ + 1;
      while (q < end_ && (isDigit(*q) || *q == '.' || *q == 'e' || *q == 'E' || *q == '+' ||
                          *q == '-'))
        ++q;
      return static_cast<std::size_t>(q - p_);
    }
    if (c == 't' || c == 'n') return 4;
    if (c == 'f') return 5;
    return 1;
  }

  // Failure for a token that is valid somewhere but not here.
  bool failUnexpected(Token t) {
    switch (t) {
      case Token::End: return fail(p_);
      case Token::Invalid: return fail(p_, kUnexpectedToken);
      case Token::Comma: return fail(p_, "Unexpected ','.");
      case Token::RBracket: return fail(p_, "Unexpected ']'.");
      case Token::RBrace: return fail(p_, "Unexpected '}'.");
      case Token::String: return fail(p_, "Unexpected string.");
      default: return fail(p_, "Unexpected value.");
    }
  }

  // Length of a line break at q (CR LF counts as one), 0 if there is none.
  std::size_t lineBreakLength(const Byte* q) const {
    if (*q == '\n') return 1;
    if (*q == '\r') return (q + 1 < end_ && q[1] == '\n') ? 2 : 1;
    if (options_ & JKParseOptionUnicodeLineEnds) {
      if (*q == 0xC2 && q + 1 < end_ && q[1] == 0x85) return 2;
      if (*q == 0xE2 && q + 2 < end_ && q[1] == 0x80 && (q[2] == 0xA8 || q[2] == 0xA9)) return 3;
    }
    return 0;
  }

  // Skips white space (and comments with JKParseOptionComments), counting
  // lines. Answers false, standing at the end, for an unterminated comment.
  bool skipSpace() {
    while (p_ < end_) {
      const Byte c = *p_;
      if (c == ' ' || c == '\t') {
        ++p_;
      } else if (const std::size_t n = lineBreakLength(p_)) {
        p_ += n;
        ++line_;
      } else if (c == '/' && (options_ & JKParseOptionComments) && p_ + 1 < end_ &&
                 (p_[1] == '/' || p_[1] == '*')) {
        if (!skipComment()) return false;
      } else {
        break;
      }
    }
    return true;
  }

  bool skipComment() {
    const bool block = p_[1] == '*';
    p_ += 2;
    while (p_ < end_) {
      if (block && *p_ == '*' && p_ + 1 < end_ && p_[1] == '/') {
        p_ += 2;
        return true;
      }
      if (const std::size_t n = lineBreakLength(p_)) {
        if (!block) return true;  // the break itself is white space
        p_ += n;
        ++line_;
      } else {
        ++p_;
      }
    }
    return !block;
  }

  bool literalAt(const char* word, std::size_t length) const {
    return static_cast<std::size_t>(end_ - p_) >= length && std::memcmp(p_, word, length) == 0;
  }

  // Skips white space and classifies the token that starts at p_.
  Token next() {
    if (!skipSpace() || p_ == end_) return Token::End;
    switch (*p_) {
      case '{': return Token::LBrace;
      case '}': return Token::RBrace;
      case '[': return Token::LBracket;
      case ']': return Token::RBracket;
      case ',': return Token::Comma;
      case ':': return Token::Colon;
      case '"': return Token::String;
      case 't': return literalAt("true", 4) ? Token::True : Token::Invalid;
      case 'f': return literalAt("false", 5) ? Token::False : Token::Invalid;
      case 'n': return literalAt("null", 4) ? Token::Null : Token::Invalid;
      default: return (*p_ == '-' || isDigit(*p_)) ? Token::Number : Token::Invalid;
    }
  }

  static bool startsValue(Token t) {
    return t == Token::LBrace || t == Token::LBracket || t == Token::String ||
           t == Token::Number || t == Token::True || t == Token::False || t == Token::Null;
  }

  bool parseValue(Value& out, Token t) {
    switch (t) {
      case Token::LBrace: return parseObject(out);
      case Token::LBracket: return parseArray(out);
      case Token::String: {
        std::string s;
        if (!parseString(s)) return false;
        out = Value(std::move(s));
        return true;
      }
      case Token::Number: return parseNumber(out);
      case Token::True: p_ += 4; out = Value(true); return true;
      case Token::False: p_ += 5; out = Value(false); return true;
      case Token::Null: p_ += 4; out = Value(); return true;
      default: return false;
    }
  }

  bool enterContainer() {
    if (++depth_ <= JKMaximumDepth) return true;
    return fail(p_, kNestingTooDeep);
  }

  bool parseArray(Value& out) {
    if (!enterContainer()) return false;
    ++p_;
    Value::Array array;
    Token t = next();
    if (t == Token::RBracket) {
      ++p_;
    } else {
      for (bool first = true;; first = false) {
        if (!startsValue(t)) {
          if (t == Token::Colon)
            return first ? failExpected(kAValue, kACloseBracket) : failExpected(kAValue);
          return failUnexpected(t);
        }
        array.emplace_back();
        if (!parseValue(array.back(), t)) return false;
        t = next();
        if (t == Token::RBracket) {
          ++p_;
          break;
        }
        if (t != Token::Comma) {
          if (t == Token::Colon) return failExpected(kAComma, kACloseBracket);
          return failUnexpected(t);
        }
        ++p_;
        t = next();
      }
    }
    out = Value(std::move(array));
    --depth_;
    return true;
  }

  bool parseObject(Value& out) {
    if (!enterContainer()) return false;
    ++p_;
    Value::Dict dict;
    Token t = next();
    if (t == Token::RBrace) {
      ++p_;
    } else {
      for (bool first = true;; first = false) {
        if (t != Token::String) {
          if (startsValue(t) || t == Token::Colon)
            return first ? failExpected(kAString, kACloseBrace) : failExpected(kAString);
          return failUnexpected(t);
        }
        std::string key;
        if (!parseString(key)) return false;
        t = next();
        if (t != Token::Colon) return t == Token::End ? fail(p_) : fail(p_, "Expected ':'.");
        ++p_;
        t = next();
        if (!startsValue(t)) {
          if (t == Token::Colon) return failExpected(kAValue);
          return failUnexpected(t);
        }
        // The last occurrence of a key wins. Keys usually arrive sorted (this
        // writer sorts them), so appending at the end is tried first.
        Value* slot;
        if (dict.empty() || dict.rbegin()->first < key) {
          slot = &dict.emplace_hint(dict.end(), std::move(key), Value())->second;
        } else {
          slot = &dict.insert_or_assign(std::move(key), Value()).first->second;
        }
        if (!parseValue(*slot, t)) return false;
        t = next();
        if (t == Token::RBrace) {
          ++p_;
          break;
        }
        if (t != Token::Comma) {
          if (t == Token::Colon) return failExpected(kAComma, kACloseBrace);
          return failUnexpected(t);
        }
        ++p_;
        t = next();
      }
    }
    out = Value(std::move(dict));
    --depth_;
    return true;
  }

  // --- strings -------------------------------------------------------------

  // Appends the string at p_ (its opening quote) to `out`.
  bool parseString(std::string& out) {
    ++p_;  // the opening quote
    for (;;) {
      if (p_ == end_) return fail(p_, "Invalid string.");
      const Byte c = *p_;
      if (c == '"') {
        ++p_;
        return true;
      }
      if (c == '\\') {
        if (!parseEscape(out)) return false;
      } else if (c < 0x20) {
        char message[64];
        std::snprintf(message, sizeof message, "Invalid character < 0x20 found in string: 0x%2.2x.",
                      c);
        return fail(p_, message);
      } else if (c >= 0x80) {
        if (!parseUtf8(out)) return false;
      } else {
        // Plain ASCII without escapes is copied in one piece.
        const Byte* run = p_;
        while (p_ < end_ && *p_ != '"' && *p_ != '\\' && *p_ >= 0x20 && *p_ < 0x80) ++p_;
        out.append(reinterpret_cast<const char*>(run), static_cast<std::size_t>(p_ - run));
      }
    }
  }

  bool loose() const { return options_ & JKParseOptionLooseUnicode; }

  bool parseUtf8(std::string& out) {
    const Utf8Sequence seq = decodeUtf8(p_, end_);
    switch (seq.status) {
      case Utf8Sequence::Status::Truncated:
        return fail(p_, "End of buffer reached while parsing UTF8 in \"\" string.");
      case Utf8Sequence::Status::Malformed:
        if (!loose()) return fail(p_, kIllegalUtf8);
        appendUtf8(out, kReplacementCharacter);
        break;
      case Utf8Sequence::Status::Ok:
        if (isNonCharacter(seq.codePoint)) {
          if (!loose()) return fail(p_, kIllegalUtf8);
          appendUtf8(out, kReplacementCharacter);
        } else {
          out.append(reinterpret_cast<const char*>(p_), seq.length);
        }
        break;
    }
    p_ += seq.length;
    return true;
  }

  bool parseEscape(std::string& out) {
    const Byte* escape = p_;
    ++p_;
    if (p_ == end_) return fail(p_, "Invalid string.");
    const Byte c = *p_++;
    switch (c) {
      case '"': case '\\': case '/': out += static_cast<char>(c); return true;
      case 'b': out += '\b'; return true;
      case 'f': out += '\f'; return true;
      case 'n': out += '\n'; return true;
      case 'r': out += '\r'; return true;
      case 't': out += '\t'; return true;
      case 'u': return parseUnicodeEscape(out, escape);
      default:
        return fail(escape, "Invalid escape sequence found in \"\" string.");
    }
  }

  // Reads the four hexadecimal digits at p_.
  bool readHex4(char32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i, ++p_) {
      if (p_ == end_) return fail(p_, "Invalid string.");
      const int digit = hexValue(*p_);
      if (digit < 0) {
        std::string message = "Unexpected character found in \\u Unicode escape sequence.  Found '";
        message += static_cast<char>(*p_);
        message += "', expected [0-9a-fA-F].";
        return fail(p_, std::move(message));
      }
      value = (value << 4) | static_cast<char32_t>(digit);
    }
    return true;
  }

  // An invalid code point from an escape: fails, or becomes U+FFFD.
  bool rejectEscape(std::string& out, const Byte* at, const char* message) {
    if (!loose()) return fail(at, message);
    appendUtf8(out, kReplacementCharacter);
    return true;
  }

  // p_ stands after "\u"; `escape` is the backslash.
  bool parseUnicodeEscape(std::string& out, const Byte* escape) {
    char32_t cp;
    if (!readHex4(cp)) return false;
    if (cp >= 0xDC00 && cp <= 0xDFFF) return rejectEscape(out, escape, kIllegalEscape);
    if (cp >= 0xD800 && cp <= 0xDBFF) {
      if (end_ - p_ < 2 || p_[0] != '\\' || p_[1] != 'u')
        return rejectEscape(out, p_,
                            "Required a second \\u Unicode escape sequence following a surrogate "
                            "\\u Unicode escape sequence.");
      const Byte* second = p_;
      p_ += 2;
      char32_t low;
      if (!readHex4(low)) return false;
      if (low < 0xDC00 || low > 0xDFFF) {
        // A lone high surrogate; the second escape is read again on its own.
        p_ = second;
        return rejectEscape(out, escape, kIllegalEscape);
      }
      cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
    }
    if (cp == 0 || isNonCharacter(cp)) return rejectEscape(out, escape, kIllegalEscape);
    appendUtf8(out, cp);
    return true;
  }

  // --- numbers -------------------------------------------------------------

  bool parseNumber(Value& out) {
    const Byte* start = p_;
    const bool negative = *p_ == '-';
    if (negative) ++p_;
    if (p_ == end_ || !isDigit(*p_)) return fail(p_, "Invalid number.");
    const Byte* digits = p_;
    if (*p_ == '0') {
      ++p_;
    } else {
      while (p_ < end_ && isDigit(*p_)) ++p_;
    }
    const Byte* digitsEnd = p_;
    bool integral = true;
    if (p_ < end_ && *p_ == '.') {
      ++p_;
      if (p_ == end_ || !isDigit(*p_)) return fail(p_, "Invalid number.");
      while (p_ < end_ && isDigit(*p_)) ++p_;
      integral = false;
    }
    if (p_ < end_ && (*p_ == 'e' || *p_ == 'E')) {
      ++p_;
      if (p_ < end_ && (*p_ == '+' || *p_ == '-')) ++p_;
      if (p_ == end_ || !isDigit(*p_)) return fail(p_, "Invalid number.");
      while (p_ < end_ && isDigit(*p_)) ++p_;
      integral = false;
    }
    const std::string_view text(reinterpret_cast<const char*>(start),
                                static_cast<std::size_t>(p_ - start));
    if (integral && !(negative && *digits == '0'))
      return convertInteger(out, start, digits, digitsEnd, negative, text);
    return convertDouble(out, start, text);
  }

  bool convertInteger(Value& out, const Byte* start, const Byte* digits, const Byte* digitsEnd,
                      bool negative, std::string_view text) {
    constexpr std::uint64_t kMinMagnitude = std::uint64_t{1} << 63;  // |INT64_MIN|
    const std::uint64_t limit = negative ? kMinMagnitude : UINT64_MAX;
    std::uint64_t value = 0;
    for (const Byte* q = digits; q < digitsEnd; ++q) {
      const auto digit = static_cast<std::uint64_t>(*q - '0');
      if (value > (limit - digit) / 10) {
        const std::string bound = negative ? std::to_string(INT64_MIN) : std::to_string(UINT64_MAX);
        return fail(start, "The value '" + std::string(text) + "' exceeded the " +
                               (negative ? "minimum" : "maximum") +
                               " value that could be represented: " + bound + ".");
      }
      value = value * 10 + digit;
    }
    if (!negative) {
      out = Value(value);
    } else if (value == kMinMagnitude) {
      out = Value(std::int64_t{INT64_MIN});
    } else {
      out = Value(-static_cast<std::int64_t>(value));
    }
    return true;
  }

  bool convertDouble(Value& out, const Byte* start, std::string_view text) {
    double d = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), d);
    if (ec == std::errc::result_out_of_range) {
      const std::string message = "The value '" + std::string(text) +
                                  "' could not be represented as a 'double' due to " +
                                  (exceedsOne(text) ? "overflow." : "underflow.");
      return fail(start, message);
    }
    if (ec != std::errc() || end != text.data() + text.size())
      return fail(start,
                  "The conversion function did not consume all of the number tokens characters.");
    out = Value(d);
    return true;
  }

  // Whether a number that does not fit a double is too large (rather than too
  // small): the position of its first significant digit plus its exponent.
  static bool exceedsOne(std::string_view text) {
    long long magnitude = 0;
    std::size_t i = text[0] == '-' ? 1 : 0;
    bool seenSignificant = false;
    for (; i < text.size() && isDigit(static_cast<Byte>(text[i])); ++i) {
      if (text[i] != '0') seenSignificant = true;
      if (seenSignificant) ++magnitude;
    }
    if (i < text.size() && text[i] == '.') {
      for (++i; i < text.size() && isDigit(static_cast<Byte>(text[i])); ++i) {
        if (seenSignificant) continue;
        if (text[i] != '0') seenSignificant = true;
        else --magnitude;
      }
    }
    if (i < text.size()) {  // the exponent, clamped beyond any text's length
      ++i;
      const bool negativeExponent = text[i] == '-';
      if (text[i] == '+' || text[i] == '-') ++i;
      constexpr long long kClamp = 1'000'000'000'000'000;
      long long exponent = 0;
      for (; i < text.size(); ++i) exponent = std::min(exponent * 10 + (text[i] - '0'), kClamp);
      magnitude += negativeExponent ? -exponent : exponent;
    }
    return magnitude > 0;
  }

  const Byte* const begin_;
  const Byte* p_;
  const Byte* const end_;
  const unsigned options_;
  ParseFailure& failure_;
  std::size_t line_ = 1;
  std::size_t depth_ = 0;
};

}  // namespace

std::optional<Value> readJSON(std::string_view text, unsigned options, ParseFailure& failure) {
  return Reader(text, options, failure).run();
}

}  // namespace taviro::json
