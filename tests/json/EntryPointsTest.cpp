// The family of entry points: option checking, errors, byte buffers, the
// decoder object, calls from several threads, and the nesting bound with
// inputs too large for case files.
#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
#include <vector>

#include "Describe.h"
#include "json/JSONKit.h"

namespace taviro {
namespace {

JSONBytes bytesOf(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(JSONEntryPoints, ParseOptionsOfSixteenAndAboveAreRefused) {
  for (unsigned options : {16u, 17u, 31u, 0x80000000u}) {
    try {
      JSONDecoder::decoderWithParseOptions(options);
      ADD_FAILURE() << "options " << options << " accepted";
    } catch (const std::invalid_argument& e) {
      EXPECT_STREQ(e.what(), "Invalid parse options.");
    }
    EXPECT_THROW(objectFromJSONStringWithParseOptions("[]", options), std::invalid_argument);
    EXPECT_THROW(mutableObjectFromJSONDataWithParseOptions(bytesOf("[]"), options),
                 std::invalid_argument);
  }
  EXPECT_EQ(JSONDecoder::decoderWithParseOptions(15).parseOptions(), 15u);
}

TEST(JSONEntryPoints, ErrorIsFilledOnlyOnFailure) {
  JKError error;
  error.localizedDescription = "untouched";
  EXPECT_TRUE(objectFromJSONStringWithParseOptions("[1]", 0, &error));
  EXPECT_TRUE(mutableObjectFromJSONStringWithParseOptions("[1]", 0, &error));
  EXPECT_EQ(error.localizedDescription, "untouched");

  EXPECT_FALSE(mutableObjectFromJSONStringWithParseOptions("[1", 0, &error));
  EXPECT_EQ(error.localizedDescription, "Reached the end of the buffer.");
  EXPECT_EQ(error.atIndex, 2u);
  EXPECT_EQ(error.lineNumber, 1u);
}

// Every way in reaches the same reader with the same options.
TEST(JSONEntryPoints, StringDataAndDecoderFormsAgree) {
  const std::string text = "// c\n[\"\xc3(\", 1] x";  // needs options 1, 4 and 8
  const unsigned options = 1 | 4 | 8;
  const Value expected = Value::Array{"\xef\xbf\xbd(", std::uint64_t{1}};
  auto decoder = JSONDecoder::decoderWithParseOptions(options);
  JKError error;

  EXPECT_EQ(*objectFromJSONStringWithParseOptions(text, options), expected);
  EXPECT_EQ(*objectFromJSONStringWithParseOptions(text, options, &error), expected);
  EXPECT_EQ(*mutableObjectFromJSONStringWithParseOptions(text, options), expected);
  EXPECT_EQ(*mutableObjectFromJSONStringWithParseOptions(text, options, &error), expected);
  EXPECT_EQ(*objectFromJSONDataWithParseOptions(bytesOf(text), options), expected);
  EXPECT_EQ(*objectFromJSONDataWithParseOptions(bytesOf(text), options, &error), expected);
  EXPECT_EQ(*mutableObjectFromJSONDataWithParseOptions(bytesOf(text), options), expected);
  EXPECT_EQ(*mutableObjectFromJSONDataWithParseOptions(bytesOf(text), options, &error), expected);
  EXPECT_EQ(*decoder.objectWithUTF8String(text.data(), text.size(), &error), expected);
  EXPECT_EQ(*decoder.mutableObjectWithUTF8String(text.data(), text.size(), &error), expected);
  EXPECT_EQ(*decoder.objectWithData(bytesOf(text), &error), expected);
  EXPECT_EQ(*decoder.mutableObjectWithData(bytesOf(text), &error), expected);
  // A decoder can be reused after a failure.
  EXPECT_FALSE(decoder.objectWithUTF8String("[1,]", 4, &error));
  EXPECT_EQ(error.atIndex, 3u);
  EXPECT_EQ(*decoder.objectWithUTF8String("\n\n[2]", 5, &error),
            Value(Value::Array{std::uint64_t{2}}));

  // The option-less forms are strict.
  EXPECT_FALSE(objectFromJSONString(text));
  EXPECT_FALSE(mutableObjectFromJSONString(text));
  EXPECT_FALSE(objectFromJSONData(bytesOf(text)));
  EXPECT_FALSE(mutableObjectFromJSONData(bytesOf(text)));
  EXPECT_TRUE(objectFromJSONData(bytesOf("[1]")));
  EXPECT_TRUE(mutableObjectFromJSONData(bytesOf("{}")));
}

// Each call keeps its state to itself, so threads may parse and write at once
// (the ThreadSanitizer build checks that nothing is shared).
TEST(JSONEntryPoints, CallsFromSeveralThreadsDoNotInterfere) {
  std::vector<std::thread> threads;
  std::vector<int> faults(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &faults] {
      for (int i = 0; i < 200; ++i) {
        const Value::Dict tree{{"thread", t}, {"i", i}, {"text", "\xc3\xa9/\n"}};
        const auto text = JSONStringWithOptions(tree, static_cast<unsigned>(i % 4) * 2 + 1);
        const auto back = text ? objectFromJSONStringWithParseOptions(*text, 4) : nullptr;
        if (!back || back->find("i")->intValue() != i || back->find("thread")->intValue() != t)
          ++faults[static_cast<std::size_t>(t)];
        if (objectFromJSONString("[1,]")) ++faults[static_cast<std::size_t>(t)];
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(faults, std::vector<int>(4, 0));
}

// Depth at the limit and objects counted alike with arrays are case files.
TEST(JSONEntryPoints, NestingIsBoundedWithoutExhaustingTheStack) {
  std::string siblings = "[";  // siblings do not add to the depth
  for (int i = 0; i < 2000; ++i) siblings += "[[]],";
  EXPECT_TRUE(objectFromJSONString(siblings + "{}]"));
  JKError error;
  EXPECT_FALSE(objectFromJSONStringWithParseOptions(std::string(1'000'000, '['), 0, &error));
  EXPECT_EQ(error.atIndex, JKMaximumDepth);
  EXPECT_EQ(error.localizedDescription,
            "Too deeply nested: more than 512 levels of arrays and objects.");
}

}  // namespace
}  // namespace taviro
