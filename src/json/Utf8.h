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
// Inline: strings of non-ASCII text call it for every character.
inline Utf8Sequence decodeUtf8(const unsigned char* p, const unsigned char* end) {
  using Status = Utf8Sequence::Status;
  const unsigned char lead = *p;
  std::size_t length = 0;
  char32_t cp = 0;
  // The range the second byte must fall in narrows for some lead bytes; this
  // rules out overlong forms, surrogates and code points above U+10FFFF.
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    cp = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    cp = lead & 0x0Fu;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    cp = lead & 0x07u;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {Status::Malformed, 0, 1};
  }
  for (std::size_t i = 1; i < length; ++i) {
    if (p + i == end) return {Status::Truncated, 0, i};
    const unsigned char c = p[i];
    if (c < low || c > high) return {Status::Malformed, 0, i};
    low = 0x80;
    high = 0xBF;
    cp = (cp << 6) | (c & 0x3Fu);
  }
  return {Status::Ok, cp, length};
}


// Writes the 1 to 4 bytes of a code point and answers how many.
std::size_t encodeUtf8(char32_t codePoint, char* out);

inline void appendUtf8(std::string& out, char32_t codePoint) {
  char bytes[4];
  out.append(bytes, encodeUtf8(codePoint, bytes));
}

// U+FDD0..U+FDEF and every code point whose low 16 bits are FFFE or FFFF.
inline bool isNonCharacter(char32_t cp) {
  return (cp >= 0xFDD0 && cp <= 0xFDEF) || (cp & 0xFFFE) == 0xFFFE;
}

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

}  // namespace taviro::json
