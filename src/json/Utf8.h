#pragma once
// UTF-8 decoding and encoding shared by the reader and the writer.
#include <cstddef>
#include <string>

namespace taviro::json {

struct Utf8Sequence {
  enum class Status { Ok, Malformed, Truncated };
  Status status;
  char32_t codePoint;  // valid when status is Ok
  // Ok: the sequence's length. Malformed: the length of its longest valid
  // prefix (at least 1), which is replaced as one unit. Truncated: the bytes
  // up to the end of the text.
  std::size_t length;
};

// Decodes the multi-byte sequence starting at p (p < end, *p >= 0x80).
// Well-formed means the shortest form, no surrogates, nothing above U+10FFFF.
Utf8Sequence decodeUtf8(const unsigned char* p, const unsigned char* end);

void appendUtf8(std::string& out, char32_t codePoint);

// U+FDD0..U+FDEF and every code point whose low 16 bits are FFFE or FFFF.
inline bool isNonCharacter(char32_t cp) {
  return (cp >= 0xFDD0 && cp <= 0xFDEF) || (cp & 0xFFFE) == 0xFFFE;
}

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

}  // namespace taviro::json
