#include "json/JSONReader.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

#include "json/JSONKit.h"
#include "json/Nesting.h"
#include "json/NumberToken.h"
#include "json/PlainBytes.h"
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

// The token a byte begins; 't', 'f' and 'n' still have to spell their word.
struct TokenTable {
  Token of[256] = {};
  constexpr TokenTable() {
    for (Token& t : of) t = Token::Invalid;
    for (const auto& [c, t] : {std::pair{'{', Token::LBrace}, {'}', Token::RBrace},
                               {'[', Token::LBracket}, {']', Token::RBracket}, {',', Token::Comma},
                               {':', Token::Colon}, {'"', Token::String}, {'-', Token::Number},
                               {'t', Token::True}, {'f', Token::False}, {'n', Token::Null}})
      of[static_cast<Byte>(c)] = t;
    for (int c = '0'; c <= '9'; ++c) of[c] = Token::Number;
  }
};
constexpr TokenTable kTokens;

// The bytes at which white space may begin under an option set: the ASCII
// spaces, plus '/' with comments and the lead bytes of U+0085, U+2028 and
// U+2029 with Unicode line ends. Any other byte ends white space at once.
struct SpaceStarts {
  bool table[256] = {};
  constexpr explicit SpaceStarts(unsigned options) {
    for (const Byte c : {' ', '\t', '\n', '\r'}) table[c] = true;
    if (options & JKParseOptionComments) table[static_cast<Byte>('/')] = true;
    if (options & JKParseOptionUnicodeLineEnds) table[0xC2] = table[0xE2] = true;
  }
};
constexpr SpaceStarts kSpaceStarts[] = {SpaceStarts(0), SpaceStarts(1), SpaceStarts(2),
                                        SpaceStarts(3)};

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

constexpr std::size_t kLargeText = 64 * 1024;

class Reader {
 public:
  Reader(std::string_view text, unsigned options, ParseFailure& failure)
      : begin_(reinterpret_cast<const Byte*>(text.data())),
        p_(begin_),
        end_(begin_ + text.size()),
        options_(options),
        spaceStarts_(kSpaceStarts[options & 3].table),
        failure_(failure) {
    // A large text gets room for 32 elements at once. Besides sparing the
    // stack a few moves, a request this large (over 1 KB) makes glibc's
    // malloc first merge the small blocks freed before, such as the nodes of
    // a tree read earlier and dropped. The new tree is then cut from them in
    // order, instead of from scattered blocks whose free lists are chased one
    // by one: reading a 1 MB text took nearly twice as long without. For a
    // short text the merging costs more than it saves.
    if (text.size() >= kLargeText) elements_.reserve(32);
  }

  std::optional<Value> run() {
    std::optional<Value> root;
    if (!parseRoot(root)) return std::nullopt;
    return root;
  }

 private:
  bool parseRoot(std::optional<Value>& root) {
    const Token first = next();
    if (first == Token::End) return fail(p_);
    if (first != Token::LBrace && first != Token::LBracket)
      return fail(p_, "Expected either '[' or '{'.");
    if (!parseValue(first, [&root](auto&& v) { root.emplace(std::forward<decltype(v)>(v)); }))
      return false;
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
  // Compact text has none, and laid-out text mostly one space; anything more
  // goes to skipMoreSpace(), kept out of line so that this stays small where
  // it is inlined.
  bool skipSpace() {
    if (p_ == end_ || !spaceStarts_[*p_]) return true;
    if (*p_ == ' ' && p_ + 1 < end_ && !spaceStarts_[p_[1]]) {
      ++p_;
      return true;
    }
    return skipMoreSpace();
  }

  [[gnu::noinline]] bool skipMoreSpace() {
    while (p_ < end_) {
      const Byte c = *p_;
      if (c == ' ' || c == '\t') {
        ++p_;
      } else if (!spaceStarts_[c]) {
        break;
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

  // Skips white space and classifies the token that starts at p_. It runs
  // before every token, so it is forced inline (the call alone would cost a
  // sixteenth of reading a compact store).
  [[gnu::always_inline]] Token next() {
    if (!skipSpace() || p_ == end_) return Token::End;
    const Token t = kTokens.of[*p_];
    switch (t) {
      case Token::True: return literalAt("true", 4) ? t : Token::Invalid;
      case Token::False: return literalAt("false", 5) ? t : Token::Invalid;
      case Token::Null: return literalAt("null", 4) ? t : Token::Invalid;
      default: return t;
    }
  }

  static bool startsValue(Token t) {
    return t == Token::LBrace || t == Token::LBracket || t == Token::String ||
           t == Token::Number || t == Token::True || t == Token::False || t == Token::Null;
  }

  // Parses the value that begins with token t and hands it to put(), which
  // builds the Value where it belongs (an array's element, an object's
  // member), so that no value is built twice.
  template <typename Put>
  bool parseValue(Token t, Put&& put) {
    switch (t) {
      case Token::LBrace: {
        Value::Dict dict;
        if (!parseObject(dict)) return false;
        put(std::move(dict));
        return true;
      }
      case Token::LBracket: {
        Value::Array array;
        if (!parseArray(array)) return false;
        put(std::move(array));
        return true;
      }
      case Token::String: {
        std::string s;
        if (!parseString(s)) return false;
        put(std::move(s));
        return true;
      }
      case Token::Number: return parseNumber(put);
      case Token::True: p_ += 4; put(true); return true;
      case Token::False: p_ += 5; put(false); return true;
      case Token::Null: p_ += 4; put(nullptr); return true;
      default: return false;
    }
  }

  bool enterContainer() {
    if (++depth_ <= JKMaximumDepth) return true;
    return fail(p_, kNestingTooDeep);
  }

  // Elements are collected on one stack shared by every open array and moved
  // into an array of the right size at its end, so that arrays never grow.
  bool parseArray(Value::Array& array) {
    if (!enterContainer()) return false;
    ++p_;
    const std::size_t base = elements_.size();
    const auto put = [this](auto&& v) { elements_.emplace_back(std::forward<decltype(v)>(v)); };
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
        if (!parseValue(t, put)) return false;
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
    const auto from = elements_.begin() + static_cast<std::ptrdiff_t>(base);
    array.assign(std::make_move_iterator(from), std::make_move_iterator(elements_.end()));
    elements_.erase(from, elements_.end());
    --depth_;
    return true;
  }

  bool parseObject(Value::Dict& dict) {
    if (!enterContainer()) return false;
    ++p_;
    // The member with the greatest key so far. Keys usually arrive sorted
    // (this writer sorts them), and then each one goes straight to the end;
    // any other key is not above the greatest, so lower_bound() finds the
    // member it joins or goes before.
    Value::Dict::iterator greatest;
    std::string key;
    const auto put = [&](auto&& v) {
      if (dict.empty() || dict.key_comp()(greatest->first, key)) {
        greatest = dict.emplace_hint(dict.end(), std::move(key), std::forward<decltype(v)>(v));
      } else if (const auto at = dict.lower_bound(key); at->first == key) {
        at->second = Value(std::forward<decltype(v)>(v));  // the last one wins
      } else {
        dict.emplace_hint(at, std::move(key), std::forward<decltype(v)>(v));
      }
    };
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
        key.clear();
        if (!parseString(key)) return false;
        t = next();
        if (t != Token::Colon) return t == Token::End ? fail(p_) : fail(p_, "Expected ':'.");
        ++p_;
        t = next();
        if (!startsValue(t)) {
          if (t == Token::Colon) return failExpected(kAValue);
          return failUnexpected(t);
        }
        if (!parseValue(t, put)) return false;
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
    --depth_;
    return true;
  }

  // --- strings -------------------------------------------------------------

  // Appends the string at p_ (its opening quote) to `out`. Runs of bytes that
  // stay as they are (plain ASCII and well-formed UTF-8) are appended in one
  // piece, so a string without escapes is copied once.
  bool parseString(std::string& out) {
    const Byte* run = ++p_;  // after the opening quote
    const auto flush = [&] { out.append(reinterpret_cast<const char*>(run), p_ - run); };
    for (;;) {
      p_ = skipPlainBytes<false>(begin_, p_, end_);
      if (p_ == end_) return fail(p_, "Invalid string.");
      const Byte c = *p_;
      if (c == '"') {
        flush();
        ++p_;
        return true;
      }
      if (c >= 0x80) {
        const Utf8Sequence seq = decodeUtf8(p_, end_);
        if (seq.status == Utf8Sequence::Status::Ok && !isNonCharacter(seq.codePoint)) {
          p_ += seq.length;
          continue;
        }
        if (seq.status == Utf8Sequence::Status::Truncated)
          return fail(p_, "End of buffer reached while parsing UTF8 in \"\" string.");
        if (!loose()) return fail(p_, kIllegalUtf8);
        flush();
        appendUtf8(out, kReplacementCharacter);
        p_ += seq.length;
      } else if (c == '\\') {
        flush();
        if (!parseEscape(out)) return false;
      } else {
        char message[64];
        std::snprintf(message, sizeof message, "Invalid character < 0x20 found in string: 0x%2.2x.",
                      c);
        return fail(p_, message);
      }
      run = p_;
    }
  }

  bool loose() const { return options_ & JKParseOptionLooseUnicode; }

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

  template <typename Put>
  bool parseNumber(Put& put) {
    const NumberToken number = readNumberToken(p_, end_);
    switch (number.kind) {
      case NumberToken::Kind::Unsigned: put(number.u); break;
      case NumberToken::Kind::Signed: put(number.i); break;
      case NumberToken::Kind::Real: put(number.d); break;
      case NumberToken::Kind::Malformed:
        return fail(number.end, numberFailureMessage(number, p_));
      default: return fail(p_, numberFailureMessage(number, p_));
    }
    p_ = number.end;
    return true;
  }

  const Byte* const begin_;
  const Byte* p_;
  const Byte* const end_;
  const unsigned options_;
  const bool* const spaceStarts_;
  ParseFailure& failure_;
  std::size_t line_ = 1;
  std::size_t depth_ = 0;
  std::vector<Value> elements_;  // of the arrays being read, innermost last
};

}  // namespace

std::optional<Value> readJSON(std::string_view text, unsigned options, ParseFailure& failure) {
  return Reader(text, options, failure).run();
}

}  // namespace taviro::json
