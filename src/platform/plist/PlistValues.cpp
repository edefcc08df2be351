#include "platform/plist/PlistValues.h"

#include <cmath>
#include <cstdio>

#include "json/Utf8.h"

namespace taviro::plist {

namespace {

// The characters of an XML 1.0 document.
bool isXmlChar(char32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

std::string codePointName(char32_t c) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
  return name;
}

}  // namespace

std::optional<std::string> textProblem(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
    char32_t c = *p;
    std::size_t length = 1;
    if (c >= 0x80) {
      const json::Utf8Sequence s = json::decodeUtf8(p, end);
      if (s.status != json::Utf8Sequence::Status::Ok) return "text that is not UTF-8";
      c = s.codePoint;
      length = s.length;
    }
    if (!isXmlChar(c)) return "the character " + codePointName(c) + ", which XML cannot carry";
    p += length;
  }
  return std::nullopt;
}

// Howard Hinnant's days-from-civil algorithm, exact for any year.
std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const auto yoe = static_cast<unsigned>(year - era * 400);
  const unsigned doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

CivilDate civilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const auto doe = static_cast<unsigned>(days - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned day = doy - (153 * mp + 2) / 5 + 1;
  const unsigned month = mp < 10 ? mp + 3 : mp - 9;
  const std::int64_t year = static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2);
  return {year, month, day};
}

std::optional<std::string> dateProblem(double secondsSince1970) {
  static const double first = static_cast<double>(daysFromCivil(1, 1, 1)) * 86400;
  static const double pastLast = static_cast<double>(daysFromCivil(10000, 1, 1)) * 86400;
  if (!std::isfinite(secondsSince1970)) return "a date that is not a number";
  if (secondsSince1970 < first || secondsSince1970 >= pastLast)
    return "a date outside the years 1 to 9999";
  const double whole = std::floor(secondsSince1970);
  const double fraction = secondsSince1970 - whole;
  if (fraction >= 1 || whole + fraction != secondsSince1970)
    return "a date whose fraction of a second cannot be written exactly";
  return std::nullopt;
}

}  // namespace taviro::plist
