#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "foundation/Log.h"
#include "foundation/UserDefaults.h"
#include "platform/plist/PlistDefaultsStorage.h"
#include "platform/plist/PlistFile.h"

namespace taviro {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> g_lines;  // log lines of the running test

class PlistStorage : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir);
    setLogSink([](std::string_view line) { g_lines.emplace_back(line); });
    g_lines.clear();
  }
  void TearDown() override { fs::remove_all(dir); }
  void writeFile(const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }
  std::vector<fs::path> filesInConfigDir() {
    return {fs::directory_iterator(fs::path(path).parent_path()), fs::directory_iterator()};
  }

  const fs::path dir = fs::temp_directory_path() /
                       ("taviro-plist-" + std::to_string(::getpid()) + "-" +
                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
  const std::string path = (dir / "taviro" / "com.nivolt.Kestrom.plist").string();
};

const Value::Dict kSample{
    {"com.pelmora.nivoltDriver.smoothingKey", 4},
    {"com.pelmora.nivoltDriver.rotation", -90},
    {"com.pelmora.nivoltDriver.pressureKey", 0.25},
    {"com.pelmora.nivoltDriver.enableMouse", false},
    {"com.pelmora.nivoltDriver.screenArea", Value::Array{0.5, 0.0, 1920.0, 1080.0}},
    {"com.pelmora.nivoltDriver.shortcutSettings", "{\"0\":{}} 한국어"},
    {"nested", Value::Dict{{"data", Value::Data{{0, 1, 255}}}, {"when", Value::Date{1e9}}}},
};

TEST_F(PlistStorage, RoundTripKeepsEveryKindOfValue) {
  PlistDefaultsStorage storage(path);
  EXPECT_TRUE(storage.load().empty());  // no file yet: nothing, and no complaint
  ASSERT_TRUE(storage.save(kSample));
  EXPECT_EQ(PlistDefaultsStorage(path).load(), kSample);
  std::ifstream in(path);
  std::string head(40, '\0');
  in.read(head.data(), 40);
  EXPECT_EQ(head.rfind("<?xml", 0), 0u);
  EXPECT_TRUE(g_lines.empty());
  EXPECT_EQ(filesInConfigDir().size(), 1u);  // no temporary file left behind
}

TEST_F(PlistStorage, UnreadableFilesAreMovedAsideNeverOverwritten) {
  struct Case {
    const char* content;
    const char* reason;
  } cases[] = {{"this is not a property list", "not a property list"},
               {"<?xml version=\"1.0\"?><plist version=\"1.0\"><array/></plist>",
                "not a dictionary"}};
  for (const Case& c : cases) {
    writeFile(c.content);
    g_lines.clear();
    UserDefaults defaults(std::make_unique<PlistDefaultsStorage>(path));
    EXPECT_EQ(defaults.dictionaryRepresentation(), Value::Dict{});
    ASSERT_EQ(g_lines.size(), 1u);
    EXPECT_NE(g_lines[0].find(c.reason), std::string::npos) << g_lines[0];
    EXPECT_NE(g_lines[0].find("moved it to"), std::string::npos);
    EXPECT_FALSE(fs::exists(path));
    defaults.setObject("k", 1);
    EXPECT_TRUE(defaults.synchronize());
    // The bad file is still there, under its new name, untouched.
    int kept = 0;
    for (const fs::path& p : filesInConfigDir()) {
      if (p.string() == path) continue;
      std::ifstream in(p);
      std::string text((std::istreambuf_iterator<char>(in)), {});
      if (text == c.content) ++kept;
    }
    EXPECT_EQ(kept, 1);
    fs::remove_all(fs::path(path).parent_path());
  }
}

TEST_F(PlistStorage, AFileThatCannotBeMovedAsideIsNotOverwritten) {
  // /proc files can be read but never renamed, not even by root.
  PlistDefaultsStorage storage("/proc/version");
  EXPECT_TRUE(storage.load().empty());
  ASSERT_EQ(g_lines.size(), 1u);
  EXPECT_NE(g_lines[0].find("nor moved aside"), std::string::npos) << g_lines[0];
  EXPECT_FALSE(storage.save({{"k", 1}}));
}

TEST_F(PlistStorage, FailedWritesLeaveThePreviousFile) {
  ASSERT_TRUE(writePlistDictionary(path, {{"a", 1}}));
  std::string error;
  // A folder where the file should be: the rename fails, nothing is lost.
  const std::string blocked = (dir / "blocked").string();
  fs::create_directories(blocked);
  EXPECT_FALSE(writePlistDictionary(blocked, {{"b", 2}}, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(fs::is_directory(blocked));
  EXPECT_EQ(readPlistDictionary(path).dictionary, (Value::Dict{{"a", 1}}));
}

}  // namespace
}  // namespace taviro
