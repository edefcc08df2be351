// Escapes, multi-byte characters and faults at every position around the
// eight-byte steps in which the reader and the writer scan strings, and
// strings cut off by the end of the text.
#include <gtest/gtest.h>

#include <string>

#include "Describe.h"
#include "json/JSONKit.h"

namespace taviro {
namespace {

constexpr const char* kReplacement = "\xef\xbf\xbd";
constexpr const char* kIllegalUtf8 = "Illegal UTF8 sequence found in \"\" string.";

struct ReadPiece {
  const char* text;    // as it stands inside the quotes
  const char* strict;  // what it reads as, or null when it fails strictly
  const char* loose;   // with JKParseOptionLooseUnicode
  const char* message;  // the strict failure
};

TEST(JSONStringEdges, PiecesReadAlikeAtEveryOffset) {
  const ReadPiece pieces[] = {
      {"\\\"", "\"", "\"", nullptr},
      {"\\\\", "\\", "\\", nullptr},
      {"\\n", "\n", "\n", nullptr},
      {"\\u00e9", "\xc3\xa9", "\xc3\xa9", nullptr},
      {"\\ud83d\\ude00", "\xf0\x9f\x98\x80", "\xf0\x9f\x98\x80", nullptr},
      {"\xc3\xa9", "\xc3\xa9", "\xc3\xa9", nullptr},
      {"\xe2\x82\xac", "\xe2\x82\xac", "\xe2\x82\xac", nullptr},
      {"\xf0\x9f\x98\x80", "\xf0\x9f\x98\x80", "\xf0\x9f\x98\x80", nullptr},
      {"\xff", nullptr, kReplacement, kIllegalUtf8},
      {"\xef\xbf\xbf", nullptr, kReplacement, kIllegalUtf8},
      {"\x01", nullptr, nullptr, "Invalid character < 0x20 found in string: 0x01."},
  };
  for (const auto& piece : pieces) {
    for (std::size_t before = 0; before <= 17; ++before) {
      for (std::size_t after = 0; after <= 9; ++after) {
        const std::string head(before, 'a'), tail(after, 'b');
        const std::string text = "[\"" + head + piece.text + tail + "\"]";
        const std::string where = testing::describeString(text);
        for (const bool loose : {false, true}) {
          const char* expected = loose ? piece.loose : piece.strict;
          JKError error;
          const auto tree = objectFromJSONStringWithParseOptions(text, loose ? 4 : 0, &error);
          if (expected) {
            ASSERT_TRUE(tree) << where << ": " << error.localizedDescription;
            EXPECT_EQ(*tree, Value(Value::Array{head + expected + tail})) << where;
          } else {
            ASSERT_FALSE(tree) << where;
            EXPECT_EQ(error.localizedDescription, piece.message) << where;
            EXPECT_EQ(error.atIndex, 2 + before) << where;
          }
        }
      }
    }
  }
}

TEST(JSONStringEdges, TextsEndingInsideAStringFailWhereTheyEnd) {
  const struct {
    const char* end;
    const char* message;
    std::size_t back;  // the failure's distance from the end of the text
  } cases[] = {
      {"", "Invalid string.", 0},
      {"\\", "Invalid string.", 0},
      {"\\u12", "Invalid string.", 0},
      {"\xe2\x82", "End of buffer reached while parsing UTF8 in \"\" string.", 2},
  };
  for (const auto& c : cases) {
    for (std::size_t length = 0; length <= 20; ++length) {
      const std::string text = "[\"" + std::string(length, 'a') + c.end;
      JKError error;
      EXPECT_FALSE(objectFromJSONStringWithParseOptions(text, 4, &error)) << text;
      EXPECT_EQ(error.localizedDescription, c.message) << text;
      EXPECT_EQ(error.atIndex, text.size() - c.back) << text;
    }
  }
}

struct WritePiece {
  const char* value;
  const char* compact;         // options 0
  const char* asciiOnly;       // JKSerializeOptionEscapeUnicode
  const char* slashEscaped;    // JKSerializeOptionEscapeForwardSlashes
};

TEST(JSONStringEdges, PiecesWriteAlikeAtEveryOffset) {
  const WritePiece pieces[] = {
      {"\"", "\\\"", "\\\"", "\\\""},
      {"\\", "\\\\", "\\\\", "\\\\"},
      {"/", "/", "/", "\\/"},
      {"\n", "\\n", "\\n", "\\n"},
      {"\x01", "\\u0001", "\\u0001", "\\u0001"},
      {"\x7f", "\x7f", "\x7f", "\x7f"},
      {"\xc3\xa9", "\xc3\xa9", "\\u00e9", "\xc3\xa9"},
      {"\xf0\x9f\x98\x80", "\xf0\x9f\x98\x80", "\\ud83d\\ude00", "\xf0\x9f\x98\x80"},
      {"\xff", kReplacement, "\\ufffd", kReplacement},
  };
  for (const auto& piece : pieces) {
    for (std::size_t before = 0; before <= 17; ++before) {
      for (std::size_t after = 0; after <= 9; ++after) {
        const std::string head(before, 'a'), tail(after, 'b');
        const Value::Array array{head + piece.value + tail};
        const std::string where = testing::describeString(head + piece.value + tail);
        for (const auto& [options, expected] :
             {std::pair{0u, piece.compact}, {JKSerializeOptionEscapeUnicode, piece.asciiOnly},
              {JKSerializeOptionEscapeForwardSlashes, piece.slashEscaped}}) {
          EXPECT_EQ(JSONStringWithOptions(array, options), "[\"" + head + expected + tail + "\"]")
              << where << " options " << options;
        }
      }
    }
  }
}

}  // namespace
}  // namespace taviro
