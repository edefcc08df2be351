#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Describe.h"
#include "json/JSONKit.h"

namespace taviro {
namespace {

// Keys are escaped as values are; bytes that are not UTF-8 become
// replacement characters. Numbers, single characters at every offset and the layouts have
// tests (and round-trip case files) of their own.
TEST(JSONWriter, EscapesKeysAndReplacesBytesThatAreNotUTF8) {
  EXPECT_EQ(JSONStringWithOptions(Value::Dict{{"\xc3\xa9", "\xe2\x82\xac\xf0\x9f\x98\x80"}},
                                  JKSerializeOptionEscapeUnicode),
            R"({"\u00e9":"\u20ac\ud83d\ude00"})");
  EXPECT_EQ(JSONStringWithOptions(Value::Dict{{"k", "a\xff\xc3("}}, 0),
            "{\"k\":\"a\xef\xbf\xbd\xef\xbf\xbd(\"}");
}

TEST(JSONWriter, RefusesWhatJSONCannotHold) {
  const struct {
    Value value;
    const char* message;
  } cases[] = {
      {std::numeric_limits<double>::quiet_NaN(),
       "Floating point values must be finite.  JSON does not support NaN or Infinity."},
      {-std::numeric_limits<double>::infinity(),
       "Floating point values must be finite.  JSON does not support NaN or Infinity."},
      {Value::Data{{1, 2}}, "Unable to serialize object class NSData."},
      {Value::Date{0}, "Unable to serialize object class NSDate."},
  };
  for (const auto& c : cases) {
    const Value::Array nested{1, Value::Dict{{"k", c.value}}};
    JKError error;
    EXPECT_FALSE(JSONStringWithOptions(nested, 0, &error)) << c.message;
    EXPECT_EQ(error.localizedDescription, c.message);
    EXPECT_EQ(error.domain, "JKErrorDomain");
    EXPECT_FALSE(error.atIndex);
    EXPECT_FALSE(JSONString(nested)) << c.message;
    EXPECT_FALSE(JSONData(nested)) << c.message;
  }
}

// The data forms hold the same bytes as the text.
TEST(JSONWriter, EveryLayoutReadsBackToTheSameTree) {
  const Value::Dict tree{
      {"text", "a/b \"q\" \xc3\xa9 \xf0\x9f\x98\x80 \t\x01"},
      {"numbers", Value::Array{-3, std::uint64_t{7}, 2.5, -0.0, 1e-7}},
      {"nested", Value::Dict{{"e", Value::Array{}}, {"f", Value::Dict{}}, {"g", nullptr}}},
      {"flags", Value::Array{true, false}},
  };
  for (unsigned options : {0u, 1u, 2u, 16u, 19u}) {
    const auto text = JSONStringWithOptions(tree, options);
    const auto data = JSONDataWithOptions(tree, options);
    ASSERT_TRUE(text && data) << "options " << options;
    EXPECT_EQ(std::string(data->begin(), data->end()), *text);
    auto back = objectFromJSONString(*text);
    ASSERT_TRUE(back) << *text;
    EXPECT_EQ(*back, Value(tree)) << *text;
  }
  EXPECT_EQ(JSONData(Value::Array{1}), (std::vector<std::uint8_t>{'[', '1', ']'}));
}

// Texts much longer than the pieces the writer gathers them in, with
// strings longer than a piece, come out whole.
TEST(JSONWriter, LongTextsComeOutWhole) {
  Value::Dict tree{{"long", std::string(200'000, 'y') + "\"" + std::string(70'000, 'z')}};
  for (int i = 0; i < 3000; ++i)
    tree["k" + std::to_string(i)] =
        Value::Array{static_cast<std::uint64_t>(i), std::string(i % 50, 'x'), 0.1 * i + 0.05};
  for (const unsigned options : {JKSerializeOptionNone, JKSerializeOptionPretty}) {
    const auto text = JSONStringWithOptions(tree, options);
    ASSERT_TRUE(text) << "options " << options;
    EXPECT_GT(text->size(), 300'000u);
    EXPECT_EQ(*objectFromJSONString(*text), Value(tree)) << "options " << options;
  }
}

TEST(JSONWriter, RefusesTreesTheReaderWouldRefuse) {
  Value deepest = Value::Array{};
  for (std::size_t i = 1; i < JKMaximumDepth; ++i) deepest = Value::Array{std::move(deepest)};
  const Value::Array atLimit = *deepest.asArray();
  ASSERT_TRUE(JSONString(atLimit));
  EXPECT_TRUE(objectFromJSONString(*JSONString(atLimit)));

  JKError error;
  EXPECT_FALSE(JSONStringWithOptions(Value::Array{deepest}, 0, &error));
  EXPECT_EQ(error.localizedDescription,
            "Too deeply nested: more than 512 levels of arrays and objects.");
}

}  // namespace
}  // namespace taviro
