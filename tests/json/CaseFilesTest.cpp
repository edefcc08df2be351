// Runs every case file under tests/json/cases:
//   pass/NAME.json       parses; NAME.expect holds "options N" and "value ..."
//                        (the tree as described by describe()).
//   fail/NAME.json       fails; NAME.error holds "options N", "message ...",
//                        "index N" and "line N".
//   roundtrip/NAME.json  parses strictly and writes back byte for byte in the
//                        compact layout; NAME.pretty, when present, is the
//                        pretty layout of the same tree.
#include <gtest/gtest.h>

#include "CaseFiles.h"
#include "json/JSONKit.h"

namespace taviro {
namespace {

using testing::caseFiles;
using testing::readFile;
using testing::sidecarField;

std::filesystem::path withExtension(std::filesystem::path path, const char* ext) {
  return path.replace_extension(ext);
}

unsigned optionsOf(const std::string& sidecar) {
  return static_cast<unsigned>(std::stoul(sidecarField(sidecar, "options")));
}

std::string withoutFinalNewline(std::string text) {
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

TEST(JSONCaseFiles, EveryFolderHoldsCases) {
  EXPECT_GE(caseFiles("pass", ".json").size(), 10u);
  EXPECT_GE(caseFiles("fail", ".json").size(), 20u);
  EXPECT_GE(caseFiles("roundtrip", ".json").size(), 3u);
}

TEST(JSONCaseFiles, PassCasesParseToTheExpectedTree) {
  for (const auto& file : caseFiles("pass", ".json")) {
    SCOPED_TRACE(file.filename().string());
    const std::string sidecar = readFile(withExtension(file, ".expect"));
    ASSERT_FALSE(sidecar.empty()) << file.filename() << ": missing .expect sidecar";
    JKError error;
    auto tree = objectFromJSONStringWithParseOptions(readFile(file), optionsOf(sidecar), &error);
    ASSERT_TRUE(tree) << file.filename() << ": " << error.localizedDescription << " at "
                      << error.atIndex.value_or(0);
    EXPECT_EQ(testing::describe(*tree), sidecarField(sidecar, "value")) << file.filename();
  }
}

TEST(JSONCaseFiles, FailCasesReportMessageIndexAndLine) {
  for (const auto& file : caseFiles("fail", ".json")) {
    SCOPED_TRACE(file.filename().string());
    const std::string sidecar = readFile(withExtension(file, ".error"));
    ASSERT_FALSE(sidecar.empty()) << file.filename() << ": missing .error sidecar";
    JKError error;
    auto tree = objectFromJSONStringWithParseOptions(readFile(file), optionsOf(sidecar), &error);
    ASSERT_FALSE(tree) << file.filename() << " parsed as " << testing::describe(*tree);
    EXPECT_EQ(error.domain, "JKErrorDomain") << file.filename();
    EXPECT_EQ(error.code, -1) << file.filename();
    EXPECT_EQ(error.localizedDescription, sidecarField(sidecar, "message")) << file.filename();
    EXPECT_EQ(error.atIndex, std::stoul(sidecarField(sidecar, "index"))) << file.filename();
    EXPECT_EQ(error.lineNumber, std::stoul(sidecarField(sidecar, "line"))) << file.filename();
  }
}

TEST(JSONCaseFiles, RoundTripCasesWriteBackTheSameText) {
  for (const auto& file : caseFiles("roundtrip", ".json")) {
    SCOPED_TRACE(file.filename().string());
    const std::string text = withoutFinalNewline(readFile(file));
    auto tree = mutableObjectFromJSONString(text);
    ASSERT_TRUE(tree) << file.filename() << " does not parse";
    std::optional<std::string> written;
    if (auto* dict = tree->asDict()) written = JSONString(*dict);
    if (auto* array = tree->asArray()) written = JSONString(*array);
    EXPECT_EQ(written, text) << file.filename();

    const auto prettyFile = withExtension(file, ".pretty");
    if (!std::filesystem::exists(prettyFile)) continue;
    std::optional<std::string> pretty;
    if (auto* dict = tree->asDict()) pretty = JSONStringWithOptions(*dict, JKSerializeOptionPretty);
    if (auto* array = tree->asArray())
      pretty = JSONStringWithOptions(*array, JKSerializeOptionPretty);
    EXPECT_EQ(pretty, withoutFinalNewline(readFile(prettyFile))) << prettyFile.filename();
  }
}

}  // namespace
}  // namespace taviro
