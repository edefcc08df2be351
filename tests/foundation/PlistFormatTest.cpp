// The property-list reader and writer: what they accept, what they refuse,
// and that whatever is written reads back bit for bit.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "BinaryPlist.h"
#include "platform/plist/PlistFile.h"

namespace taviro {
namespace {

using testing::asciiObject;
using testing::bigEndian;
using testing::binaryPlist;
using testing::container;

std::string xml(const std::string& body) {
  return "<?xml version=\"1.0\"?><plist version=\"1.0\">" + body + "</plist>";
}

TEST(PlistFormat, WrittenValuesReadBackBitForBit) {
  Value deep = Value::Array{};
  for (int i = 0; i < 510; ++i) deep = Value::Array{deep};  // 512 levels with the dictionary
  const Value::Dict d{
      {"ints", Value::Array{0, -1, std::numeric_limits<std::int64_t>::min(),
                            std::numeric_limits<std::int64_t>::max(),
                            std::uint64_t{1} << 63, ~std::uint64_t{0}}},
      {"reals", Value::Array{0.1, -0.0, 1e-300, 5e-324, 1.7976931348623157e308, 1920.0,
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity()}},
      {"text", Value::Array{"", " lead and trail ", "<&>\"'", "a\r\nb\rc\td", "한국어 \U0001F58A"}},
      {"dates", Value::Array{Value::Date{0}, Value::Date{-0.5}, Value::Date{1e9 + 0.1},
                             Value::Date{-62135596800.0}, Value::Date{253402300799.0}}},
      {"data", Value::Array{Value::Data{}, Value::Data{{0}}, Value::Data{{0, 1}},
                            Value::Data{{0, 1, 2}}, Value::Data{{255, 254, 253, 252}}}},
      {"", Value::Dict{{"&key<", true}, {"other", false}, {"empty", Value::Dict{}}}},
      {"deep", deep},
  };
  const plist::Written written = plist::writeXml(d);
  ASSERT_TRUE(written.text) << written.error;
  const plist::Parsed back = parsePlist(*written.text);
  ASSERT_TRUE(back.value) << back.error;
  EXPECT_EQ(*back.value, Value(d));  // -0.0 == 0.0 here: check the sign apart
  EXPECT_TRUE(std::signbit(back.value->find("reals")->asArray()->at(1).doubleValue()));
  EXPECT_TRUE(std::isnan(*parsePlist(xml("<real>nan</real>")).value->asReal()));
}

TEST(PlistFormat, XmlReaderAcceptsWhatOtherWritersWrite) {
  struct Case {
    const char* text;
    Value value;
  } cases[] = {
      {"\xEF\xBB\xBF\n  <?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- c -->"
       "<!DOCTYPE plist [ <!ENTITY x \"]>\"> ]><plist version='1.0'><true/></plist>",
       true},
      {"<dict><key>bare</key><string>root</string></dict>", Value::Dict{{"bare", "root"}}},
      {"<plist><string>a<![CDATA[<b>]]>c<!-- x -->&#x41;&#66;&lt;</string></plist>", "a<b>cAB<"},
      {"<plist><string>line\r\nend\r</string></plist>", "line\nend\n"},
      {"<plist><integer> 0x1F </integer></plist>", 31},
      {"<plist><integer>-9223372036854775808</integer></plist>",
       std::numeric_limits<std::int64_t>::min()},
      {"<plist><integer>+18446744073709551615</integer></plist>", ~std::uint64_t{0}},
      {"<plist><real>+infinity</real></plist>", std::numeric_limits<double>::infinity()},
      {"<plist><date>2001-01-01T00:00:00Z</date></plist>", Value::Date{978307200}},
      {"<plist><date>2024-02-29T23:59:59.5Z</date></plist>", Value::Date{1709251199.5}},
      {"<plist><data>\n\tAAEC\n\t/w</data></plist>", Value::Data{{0, 1, 2, 255}}},
      {"<plist><array><string/><dict/><array></array></array></plist>",
       Value::Array{"", Value::Dict{}, Value::Array{}}},
  };
  for (const Case& c : cases) {
    const plist::Parsed p = parsePlist(c.text);
    ASSERT_TRUE(p.value) << c.text << ": " << p.error;
    EXPECT_EQ(*p.value, c.value) << c.text;
  }
}

TEST(PlistFormat, XmlReaderRefusesWhatItCouldNotKeep) {
  struct Case {
    const char* body;
    const char* reason;
  } cases[] = {
      {"<dict><key>a</key><integer>1</integer><key>a</key><integer>2</integer></dict>", "twice"},
      {"<dict><key>a</key></dict>", "key without a value"},
      {"<dict><string>a</string></dict>", "without a key"},
      {"<array><key>a</key></array>", "outside a dictionary"},
      {"<string>a&#1;b</string>", "reference XML does not allow"},
      {"<string>a\x01z</string>", "U+0001"},
      {"<string>\xC3\x28</string>", "UTF-8"},
      {"<string>&nbsp;</string>", "unknown entity"},
      {"<string>a<b/></string>", "element inside <string>"},
      {"<integer>18446744073709551616</integer>", "64-bit range"},
      {"<integer>12abc</integer>", "malformed integer"},
      {"<real>1e400</real>", "out of range"},
      {"<date>2023-02-29T00:00:00Z</date>", "malformed date"},
      {"<data>AA=A</data>", "malformed data"},
      {"<true>yes</true>", "text inside <true>"},
      {"<null/>", "unknown element <null>"},
      {"<array>text</array>", "text outside a value"},
      {"<true/></plist><true/><plist>", "text after"},
  };
  for (const Case& c : cases) {
    const plist::Parsed p = parsePlist(xml(c.body));
    EXPECT_FALSE(p.value) << c.body;
    EXPECT_NE(p.error.find(c.reason), std::string::npos) << c.body << ": " << p.error;
  }
  std::string deep;
  for (int i = 0; i < 513; ++i) deep += "<array>";
  EXPECT_EQ(parsePlist(xml(deep)).error,
            "it holds arrays and dictionaries nested deeper than 512 levels");
  EXPECT_NE(parsePlist("<plist><array>").error.find("unexpected end"), std::string::npos);
}

TEST(PlistFormat, BinaryReaderReadsEveryKindTheWriterKeeps) {
  const auto one = [](std::string object) { return binaryPlist({std::move(object)}); };
  const std::string utf16 = std::string("\x63", 1) + bigEndian(0xD55C, 2) + bigEndian(0xD83D, 2) +
                            bigEndian(0xDD8A, 2);  // "한" and a pair for U+1F58A
  struct Case {
    std::string bytes;
    Value value;
  } cases[] = {
      {one("\x10\xFF"), 255},
      {one("\x12\xFF\xFF\xFF\xFF"), std::int64_t{4294967295}},
      {one("\x13" + bigEndian(~0ull, 8)), -1},
      {one("\x14" + bigEndian(~0ull, 8) + bigEndian(~0ull - 4, 8)), -5},
      {one("\x22" + bigEndian(std::bit_cast<std::uint32_t>(0.5f), 4)), 0.5},
      {one("\x23" + bigEndian(std::bit_cast<std::uint64_t>(0.1), 8)), 0.1},
      {one("\x33" + bigEndian(std::bit_cast<std::uint64_t>(-978307200.0), 8)), Value::Date{0}},
      {one(std::string("\x43\x00\x01\xFF", 4)), Value::Data{{0, 1, 255}}},
      {one(utf16), "한\U0001F58A"},
      {one("\x5F\x10\x10" + std::string(16, 'a')), std::string(16, 'a')},
      {one(std::string("\x81\x01\x00", 3)), Value::Dict{{"CF$UID", 256}}},
      {binaryPlist({container(0xA0, {1, 1, 2}, 2), "\x09", "\x08"}, 2), Value::Array{true, true, false}},
      {binaryPlist({container(0xD0, {1, 2}), asciiObject("k"), container(0xA0, {})}),
       Value::Dict{{"k", Value::Array{}}}},
  };
  for (const Case& c : cases) {
    const plist::Parsed p = parsePlist(c.bytes);
    ASSERT_TRUE(p.value) << ::testing::PrintToString(c.value) << ": " << p.error;
    EXPECT_EQ(*p.value, c.value);
  }
}

TEST(PlistFormat, BinaryReaderRefusesBrokenAndUnkeepableLists) {
  const auto one = [](std::string object) { return binaryPlist({std::move(object)}); };
  std::string badTrailer = one("\x09");
  badTrailer[badTrailer.size() - 26] = 3;  // offsets three bytes wide
  std::string pastTable = one("\x09");
  pastTable[pastTable.size() - 33] = 0x7F;  // the one offset points into the trailer
  struct Case {
    std::string bytes;
    const char* reason;
  } cases[] = {
      {"bplist00", "too short"},
      {badTrailer, "bad trailer"},
      {pastTable, "offset out of range"},
      {one("\x5F\x10\x7F"), "runs past"},
      {one(std::string(1, '\0')), "null"},
      {one("\xC0"), "a set"},
      {binaryPlist({container(0xA0, {0})}), "nested deeper than 512"},  // contains itself
      {binaryPlist({container(0xA0, {3})}), "reference out of range"},
      {binaryPlist({container(0xD0, {1, 1}), "\x09"}), "not a string"},
      {binaryPlist({container(0xD0, {1, 1, 2, 2}), asciiObject("k"), "\x09"}), "twice"},
      {one("\x61" + bigEndian(0xDC00, 2)), "unpaired UTF-16 surrogate"},
      {one("\x14" + bigEndian(1, 8) + bigEndian(0, 8)), "64-bit range"},
      {one("\x33" + bigEndian(std::bit_cast<std::uint64_t>(1e15), 8)), "9999"},
      {one("\x33" + bigEndian(std::bit_cast<std::uint64_t>(1e-9), 8)), "exactly"},
  };
  for (const Case& c : cases) {
    const plist::Parsed p = parsePlist(c.bytes);
    EXPECT_FALSE(p.value) << c.reason;
    EXPECT_NE(p.error.find(c.reason), std::string::npos) << c.reason << ": " << p.error;
  }
}

}  // namespace
}  // namespace taviro
