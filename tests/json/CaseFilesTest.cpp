// Runs every case file under tests/json/cases:
//   pass/NAME.json       parses; NAME.expect holds "options N" and "value ..."
//                        (the tree as described by describe()).
//   fail/NAME.json       fails; NAME.error holds "options N", "message ...",
//                        "index N" and "line N".
//   roundtrip/NAME.json  parses strictly and writes back byte for byte in the
//                        compact layout; NAME.pretty, when present, is the
//                        pretty layout of the same tree. Every option set
//                        reads it as the same tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Describe.h"
#include "json/JSONKit.h"

namespace taviro {
namespace {

namespace fs = std::filesystem;

// The .json files in cases/<folder>, sorted by name; a wrong folder fails.
std::vector<fs::path> caseFiles(const std::string& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(fs::path(TAVIRO_JSON_CASES_DIR) / folder))
    if (entry.path().extension() == ".json") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  EXPECT_GE(files.size(), folder == "fail" ? 20u : folder == "pass" ? 10u : 3u) << folder;
  return files;
}

std::string readFile(const fs::path& path, bool withoutFinalNewline = false) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  std::string s = text.str();
  if (withoutFinalNewline && !s.empty() && s.back() == '\n') s.pop_back();
  return s;
}

// The rest of the "key value" line of a sidecar file.
std::string field(const std::string& sidecar, const std::string& key) {
  std::istringstream lines(sidecar);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind(key + " ", 0) == 0) return line.substr(key.size() + 1);
  return {};
}

std::optional<std::string> write(const Value& tree, JKSerializeOptionFlags options) {
  if (auto* dict = tree.asDict()) return JSONStringWithOptions(*dict, options);
  return JSONStringWithOptions(*tree.asArray(), options);
}

TEST(JSONCaseFiles, PassCasesGiveTheExpectedTreeAndFailCasesTheExpectedError) {
  for (const bool pass : {true, false}) {
    for (const auto& file : caseFiles(pass ? "pass" : "fail")) {
      const std::string name = file.filename().string();
      const std::string sidecar =
          readFile(fs::path(file).replace_extension(pass ? ".expect" : ".error"));
      ASSERT_FALSE(sidecar.empty()) << name << ": missing sidecar";
      JKError error;
      const auto tree = objectFromJSONStringWithParseOptions(
          readFile(file), static_cast<unsigned>(std::stoul(field(sidecar, "options"))), &error);
      if (pass) {
        ASSERT_TRUE(tree) << name << ": " << error.localizedDescription << " at "
                          << error.atIndex.value_or(0);
        EXPECT_EQ(testing::describe(*tree), field(sidecar, "value")) << name;
        continue;
      }
      ASSERT_FALSE(tree) << name << " parsed as " << testing::describe(*tree);
      EXPECT_EQ(error.domain, "JKErrorDomain") << name;
      EXPECT_EQ(error.code, -1) << name;
      EXPECT_EQ(error.localizedDescription, field(sidecar, "message")) << name;
      EXPECT_EQ(error.atIndex, std::stoul(field(sidecar, "index"))) << name;
      EXPECT_EQ(error.lineNumber, std::stoul(field(sidecar, "line"))) << name;
    }
  }
}

TEST(JSONCaseFiles, RoundTripCasesWriteBackTheSameTextAndReadAlikeUnderEveryOption) {
  for (const auto& file : caseFiles("roundtrip")) {
    const std::string name = file.filename().string();
    const std::string text = readFile(file, true);
    auto tree = mutableObjectFromJSONString(text);
    ASSERT_TRUE(tree) << name << " does not parse";
    EXPECT_EQ(write(*tree, JKSerializeOptionNone), text) << name;
    const fs::path prettyFile = fs::path(file).replace_extension(".pretty");
    if (fs::exists(prettyFile))
      EXPECT_EQ(write(*tree, JKSerializeOptionPretty), readFile(prettyFile, true)) << name;
    // Options only widen what is accepted: a strict text gives the same tree
    // under every option set.
    for (unsigned options = 1; options < 16; ++options) {
      auto loose = mutableObjectFromJSONStringWithParseOptions(text, options);
      ASSERT_TRUE(loose) << name << " options " << options;
      EXPECT_EQ(*loose, *tree) << name << " options " << options;
    }
  }
}

}  // namespace
}  // namespace taviro
