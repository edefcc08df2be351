#include "platform/plist/XmlScalar.h"

#include <charconv>
#include <limits>

#include "platform/plist/PlistValues.h"

namespace taviro::plist {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
  return s;
}

XmlScalar found(Value v) { return {std::move(v), {}, false}; }
XmlScalar malformed(std::string what) { return {std::nullopt, std::move(what), false}; }
XmlScalar refused(std::string what) { return {std::nullopt, std::move(what), true}; }

// Decimal, or hexadecimal after "0x"; signed 64-bit, or unsigned above it.
XmlScalar integer(std::string_view t) {
  const bool negative = !t.empty() && t[0] == '-';
  if (!t.empty() && (t[0] == '-' || t[0] == '+')) t.remove_prefix(1);
  int base = 10;
  if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
    t.remove_prefix(2);
    base = 16;
  }
  std::uint64_t magnitude = 0;
  const auto r = std::from_chars(t.data(), t.data() + t.size(), magnitude, base);
  if (t.empty() || r.ptr != t.data() + t.size() || r.ec == std::errc::invalid_argument)
    return malformed("malformed integer");
  constexpr std::uint64_t kSignedMax = std::numeric_limits<std::int64_t>::max();
  if (r.ec == std::errc::result_out_of_range || (negative && magnitude > kSignedMax + 1))
    return refused("an integer out of the 64-bit range");
  if (negative && magnitude == kSignedMax + 1)
    return found(Value(std::numeric_limits<std::int64_t>::min()));
  if (negative) return found(Value(-static_cast<std::int64_t>(magnitude)));
  if (magnitude > kSignedMax) return found(Value(magnitude));
  return found(Value(static_cast<std::int64_t>(magnitude)));
}

// Decimal or exponent form, "nan", "inf", "+infinity", "-infinity".
XmlScalar real(std::string_view t) {
  if (t.size() > 1 && t[0] == '+' && t[1] != '-') t.remove_prefix(1);
  double d = 0;
  const auto r = std::from_chars(t.data(), t.data() + t.size(), d);
  if (t.empty() || r.ptr != t.data() + t.size() || r.ec == std::errc::invalid_argument)
    return malformed("malformed real");
  if (r.ec == std::errc::result_out_of_range) return refused("a real out of range");
  return found(Value(d));
}

// "YYYY-MM-DDTHH:MM:SS[.fraction]Z".
XmlScalar date(std::string_view t) {
  const auto digits = [&](std::size_t at, std::size_t n, unsigned& v) {
    if (t.size() < at + n) return false;
    const auto r = std::from_chars(t.data() + at, t.data() + at + n, v);
    return r.ec == std::errc() && r.ptr == t.data() + at + n;
  };
  unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  const bool shape = t.size() >= 20 && t[4] == '-' && t[7] == '-' && t[10] == 'T' &&
                     t[13] == ':' && t[16] == ':' && t.back() == 'Z' && digits(0, 4, year) &&
                     digits(5, 2, month) && digits(8, 2, day) && digits(11, 2, hour) &&
                     digits(14, 2, minute) && digits(17, 2, second);
  if (!shape || year < 1 || month < 1 || month > 12 || day < 1 || hour > 23 || minute > 59 ||
      second > 59 || civilFromDays(daysFromCivil(year, month, day)).day != day)
    return malformed("malformed date");
  double fraction = 0;
  if (t.size() > 20) {
    const std::string_view f = t.substr(19, t.size() - 20);  // ".digits"
    if (f.size() < 2 || f[0] != '.') return malformed("malformed date");
    const std::string decimal = "0" + std::string(f);
    const auto r = std::from_chars(decimal.data(), decimal.data() + decimal.size(), fraction,
                                   std::chars_format::fixed);
    if (r.ec != std::errc() || r.ptr != decimal.data() + decimal.size())
      return malformed("malformed date");
  }
  const std::int64_t seconds =
      daysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
  return found(Value(Value::Date{static_cast<double>(seconds) + fraction}));
}

int base64Digit(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// Base64 with white space anywhere; padding may be left out.
XmlScalar base64(std::string_view t) {
  Value::Data bytes;
  std::uint32_t group = 0;
  int bits = 0, padding = 0;
  for (char c : t) {
    if (isSpace(c)) continue;
    if (c == '=' && ++padding <= 2) continue;
    const int v = base64Digit(c);
    if (v < 0 || padding) return malformed("malformed data");
    group = (group << 6) | static_cast<std::uint32_t>(v);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      bytes.bytes.push_back(static_cast<std::uint8_t>(group >> bits));
    }
  }
  if (bits >= 6) return malformed("malformed data");  // a lone sixth of a group
  return found(Value(std::move(bytes)));
}

}  // namespace

XmlScalar readXmlScalar(std::string_view element, const std::string& text) {
  const std::string_view t = trimmed(text);
  if (element == "string") return found(Value(text));
  if (element == "integer") return integer(t);
  if (element == "real") return real(t);
  if (element == "date") return date(t);
  if (element == "data") return base64(text);
  if (element == "true" || element == "false") {
    if (!t.empty()) return malformed("text inside <" + std::string(element) + ">");
    return found(Value(element == "true"));
  }
  return malformed("unknown element <" + std::string(element) + ">");
}

}  // namespace taviro::plist
