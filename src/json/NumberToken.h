#pragma once
// Reading one number token: its grammar, its conversion to an unsigned or a
// signed 64-bit integer or a double, and the messages of the ways it fails.
#include <cstdint>
#include <string>

namespace taviro::json {

struct NumberToken {
  enum class Kind { Unsigned, Signed, Real, Malformed, OutOfRange, NotConsumed };
  Kind kind;
  union {
    std::uint64_t u;  // Unsigned
    std::int64_t i;   // Signed
    double d;         // Real
  };
  // Just past the token; for Malformed, the byte that breaks the grammar.
  const unsigned char* end;
};

// Reads any token at p, which is a '-' or a digit (p < end).
NumberToken readAnyNumberToken(const unsigned char* p, const unsigned char* end);

// The same, with the common case inline: an unsigned integer of at most 19
// digits (which cannot overflow) with no fraction or exponent.
inline NumberToken readNumberToken(const unsigned char* p, const unsigned char* end) {
  std::uint64_t value = static_cast<unsigned char>(*p - '0');
  if (value <= 9) {
    const unsigned char* q = p + 1;
    if (value != 0) {
      for (; q < end && q - p < 19 && *q >= '0' && *q <= '9'; ++q)
        value = value * 10 + static_cast<unsigned char>(*q - '0');
    }
    if (q == end || !((*q >= '0' && *q <= '9') || *q == '.' || *q == 'e' || *q == 'E'))
      return {.kind = NumberToken::Kind::Unsigned, .u = value, .end = q};
  }
  return readAnyNumberToken(p, end);
}

// The message of a failed token that starts at `start` (Malformed and
// NotConsumed do not need to know where the token ends).
std::string numberFailureMessage(const NumberToken& token, const unsigned char* start);

}  // namespace taviro::json
