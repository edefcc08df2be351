// Numbers where quick conversions could part from exact ones: random doubles
// over the whole range, exact ties at the seventeenth digit, powers of ten
// and their neighbours, and texts with fewer, more or near-midpoint digits.
// Written reals must match snprintf's "%.17g"; read reals std::from_chars.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "json/JSONKit.h"

namespace taviro {
namespace {

std::vector<double> awkwardDoubles() {
  std::mt19937_64 random(2024);
  std::vector<double> out;
  const auto keep = [&out](double d) {
    if (std::isfinite(d)) out.push_back(d);
  };
  for (int i = 0; i < 6000; ++i) {
    keep(std::bit_cast<double>(random()));
    keep(std::ldexp(static_cast<double>(random() >> 11),
                    static_cast<int>(random() % 2150) - 1126));  // subnormals too
    keep(static_cast<double>(random() % 100000) / 997.0);
  }
  // n / 2^t with n odd and n * 5^t of 18 digits: an exact tie at the 17th.
  for (int t = 1; t <= 40; ++t) {
    const long double power = std::pow(5.0L, t);
    const auto low = static_cast<std::uint64_t>(std::ceil(1e17L / power));
    const auto high = static_cast<std::uint64_t>(std::floor(1e18L / power));
    if (high < low) continue;
    for (int i = 0; i < 200; ++i) {
      const std::uint64_t n = (low + random() % (high - low + 1)) | 1;
      if (n < (std::uint64_t{1} << 53)) keep(std::ldexp(static_cast<double>(n), -t));
    }
  }
  for (int e = -323; e <= 308; ++e) {
    const double power = std::strtod(("1e" + std::to_string(e)).c_str(), nullptr);
    for (const double d : {power, std::nextafter(power, 0.0), std::nextafter(power, 1e308)}) keep(d);
  }
  for (const double d : {0.0, -0.0, std::numeric_limits<double>::max(),
                         std::numeric_limits<double>::min(), std::numeric_limits<double>::denorm_min()})
    keep(d);
  return out;
}

std::string printed(const char* format, double d) {
  char text[64];
  std::snprintf(text, sizeof text, format, d);
  return text;
}

TEST(JSONNumbers, RealsAreWrittenExactlyAsPrintfWritesThem) {
  std::vector<std::string> wrong;
  for (const double d : awkwardDoubles()) {
    const std::string expected = "[" + printed("%.17g", d) + "]";
    const auto text = JSONString(Value::Array{d});
    if (text != expected) wrong.push_back(expected + " written as " + text.value_or("nothing"));
  }
  EXPECT_TRUE(wrong.empty()) << wrong.size() << " wrong, the first: " << wrong.front();
}

TEST(JSONNumbers, IntegersAreWrittenInDecimal) {
  std::mt19937_64 random(7);
  std::vector<std::uint64_t> magnitudes = {0, UINT64_MAX, std::uint64_t{1} << 63};
  for (std::uint64_t power = 1; power <= UINT64_MAX / 10; power *= 10)
    for (const std::uint64_t n : {power - 1, power, power + 1, 10 * power - 1}) magnitudes.push_back(n);
  for (int i = 0; i < 2000; ++i) magnitudes.push_back(random() >> (random() % 64));
  for (const std::uint64_t n : magnitudes) {
    const auto signedValue = static_cast<std::int64_t>(n >> 1);
    EXPECT_EQ(JSONString(Value::Array{n}), "[" + std::to_string(n) + "]");
    EXPECT_EQ(JSONString(Value::Array{-signedValue - 1}), "[" + std::to_string(-signedValue - 1) + "]");
  }
}

TEST(JSONNumbers, RealsAreReadExactlyAsFromCharsReadsThem) {
  std::vector<std::string> wrong;
  for (const double d : awkwardDoubles()) {
    const double next = std::nextafter(d, 1e308);
    char midpoint[64];  // a long double holds the midpoint of two doubles exactly
    std::snprintf(midpoint, sizeof midpoint, "%.19Le", (static_cast<long double>(d) + next) / 2);
    for (const std::string& text : {printed("%.17e", d), printed("%.15g", d), printed("%.22e", d),
                                    std::string(midpoint)}) {
      double expected = 0;
      const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), expected);
      if (fault != std::errc() || text.find_first_of(".e") == std::string::npos) continue;
      const auto tree = objectFromJSONString("[" + text + "]");
      const double* read = tree ? (*tree->asArray())[0].asReal() : nullptr;
      if (!read || std::bit_cast<std::uint64_t>(*read) != std::bit_cast<std::uint64_t>(expected))
        wrong.push_back(text + " read as " + (read ? printed("%a", *read) : "nothing"));
    }
  }
  EXPECT_TRUE(wrong.empty()) << wrong.size() << " wrong, the first: " << wrong.front();
}

}  // namespace
}  // namespace taviro
