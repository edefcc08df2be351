// The nesting bound of the reader and the writer, with inputs too large for
// case files.
#include <gtest/gtest.h>

#include "json/JSONKit.h"

namespace taviro {
namespace {

TEST(JSONNesting, ReaderRefusesDeeperTextsWithoutExhaustingTheStack) {
  const std::size_t limit = JKMaximumDepth;
  const auto tree = objectFromJSONString(std::string(limit, '[') + std::string(limit, ']'));
  ASSERT_TRUE(tree);
  std::size_t depth = 1;
  for (const Value* v = tree.get(); !v->asArray()->empty(); v = &v->asArray()->front()) ++depth;
  EXPECT_EQ(depth, limit);
  // Siblings do not add to the depth.
  std::string siblings = "[";
  for (int i = 0; i < 2000; ++i) siblings += "[[]],";
  EXPECT_TRUE(objectFromJSONString(siblings + "{}]"));

  JKError error;
  EXPECT_FALSE(objectFromJSONStringWithParseOptions(std::string(1'000'000, '['), 0, &error));
  EXPECT_EQ(error.atIndex, limit);
  EXPECT_EQ(error.localizedDescription,
            "Too deeply nested: more than 512 levels of arrays and objects.");
  // Objects and arrays count alike.
  std::string mixed;
  for (std::size_t i = 0; i < limit / 2; ++i) mixed += "{\"a\":[";
  EXPECT_FALSE(objectFromJSONStringWithParseOptions(mixed + "{", 0, &error));
  EXPECT_EQ(error.atIndex, mixed.size());
}

TEST(JSONNesting, WriterRefusesTreesTheReaderWouldRefuse) {
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
