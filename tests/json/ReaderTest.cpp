// Reader behaviour that case files cannot express well: generated inputs,
// equal results across option sets, and faults that depend on each other.
#include <gtest/gtest.h>

#include "CaseFiles.h"
#include "json/JSONKit.h"

namespace taviro {
namespace {

std::string nestedArrays(std::size_t depth) {
  return std::string(depth, '[') + std::string(depth, ']');
}

TEST(JSONReader, AcceptsNestingUpToTheLimit) {
  auto tree = objectFromJSONString(nestedArrays(JKMaximumDepth));
  ASSERT_TRUE(tree);
  const Value* v = tree.get();
  std::size_t depth = 0;
  while (v->asArray() && !v->asArray()->empty()) {
    v = &v->asArray()->front();
    ++depth;
  }
  EXPECT_EQ(depth, JKMaximumDepth - 1);
}

TEST(JSONReader, RefusesHostileNestingWithoutExhaustingTheStack) {
  JKError error;
  EXPECT_FALSE(objectFromJSONStringWithParseOptions(std::string(1'000'000, '['), 0, &error));
  EXPECT_EQ(error.atIndex, JKMaximumDepth);
  EXPECT_EQ(error.localizedDescription,
            "Too deeply nested: more than 512 levels of arrays and objects.");
}

TEST(JSONReader, DepthCountsObjectsAndArraysAlike) {
  std::string text;
  for (std::size_t i = 0; i < JKMaximumDepth / 2; ++i) text += "{\"a\":[";
  text += "{";
  JKError error;
  EXPECT_FALSE(objectFromJSONStringWithParseOptions(text, 0, &error));
  EXPECT_EQ(error.atIndex, text.size() - 1);
}

TEST(JSONReader, SiblingContainersDoNotAddToTheDepth) {
  std::string text = "[";
  for (int i = 0; i < 2000; ++i) text += "[[]],";
  text += "{}]";
  EXPECT_TRUE(objectFromJSONString(text));
}

// Options only widen what is accepted: a strict text gives the same tree
// under every option set.
TEST(JSONReader, OptionsDoNotChangeTheTreeOfAStrictText) {
  for (const auto& file : testing::caseFiles("roundtrip", ".json")) {
    const std::string text = testing::readFile(file);
    auto strict = objectFromJSONString(text);
    ASSERT_TRUE(strict) << file.filename();
    for (unsigned options = 1; options < 16; ++options) {
      auto loose = objectFromJSONStringWithParseOptions(text, options);
      ASSERT_TRUE(loose) << file.filename() << " options " << options;
      EXPECT_EQ(*loose, *strict) << file.filename() << " options " << options;
    }
  }
}

TEST(JSONReader, LooseUnicodeKeepsParsingAfterEachReplacement) {
  const std::string text = "{\"k\xff\":\"\xc3(\\ud800\\u00e9\xed\xa0\x80!\",\"n\":1}";
  auto tree = objectFromJSONStringWithParseOptions(text, JKParseOptionLooseUnicode);
  ASSERT_TRUE(tree);
  EXPECT_EQ(testing::describe(*tree),
            "{\"k\\xef\\xbf\\xbd\": \"\\xef\\xbf\\xbd(\\xef\\xbf\\xbd\\xc3\\xa9"
            "\\xef\\xbf\\xbd\\xef\\xbf\\xbd\\xef\\xbf\\xbd!\", \"n\": uint:1}");
}

TEST(JSONReader, DuplicateKeysArrivingOutOfOrderStillLetTheLastWin) {
  auto tree = objectFromJSONString(R"({"b":1,"a":2,"b":3,"a":{"x":4}})");
  ASSERT_TRUE(tree);
  EXPECT_EQ(testing::describe(*tree), R"({"a": {"x": uint:4}, "b": uint:3})");
}

TEST(JSONReader, TextsWithEmbeddedNulBytesAreJudgedByLength) {
  const std::string text("[1]\0", 4);
  JKError error;
  EXPECT_FALSE(objectFromJSONStringWithParseOptions(text, 0, &error));
  EXPECT_EQ(error.atIndex, 3u);
  EXPECT_TRUE(objectFromJSONStringWithParseOptions(text, JKParseOptionTextAfterValue));
}

}  // namespace
}  // namespace taviro
