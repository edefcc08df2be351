#include "json/Utf8.h"

namespace taviro::json {

Utf8Sequence decodeUtf8(const unsigned char* p, const unsigned char* end) {
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

void appendUtf8(std::string& out, char32_t cp) {
  char buf[4];
  std::size_t n;
  if (cp < 0x80) {
    buf[0] = static_cast<char>(cp);
    n = 1;
  } else if (cp < 0x800) {
    buf[0] = static_cast<char>(0xC0 | (cp >> 6));
    buf[1] = static_cast<char>(0x80 | (cp & 0x3F));
    n = 2;
  } else if (cp < 0x10000) {
    buf[0] = static_cast<char>(0xE0 | (cp >> 12));
    buf[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    buf[2] = static_cast<char>(0x80 | (cp & 0x3F));
    n = 3;
  } else {
    buf[0] = static_cast<char>(0xF0 | (cp >> 18));
    buf[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    buf[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    buf[3] = static_cast<char>(0x80 | (cp & 0x3F));
    n = 4;
  }
  out.append(buf, n);
}

}  // namespace taviro::json
