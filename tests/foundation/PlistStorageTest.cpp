#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <filesystem>
#include <fstream>

#include "BinaryPlist.h"
#include "foundation/Log.h"
#include "foundation/UserDefaults.h"
#include "platform/plist/PlistDefaultsStorage.h"
#include "platform/plist/PlistFile.h"

namespace taviro {
namespace {

namespace fs = std::filesystem;
using testing::asciiObject;
using testing::binaryPlist;
using testing::bigEndian;
using testing::container;

std::vector<std::string> g_lines;  // log lines of the running test

std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class PlistStorage : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir);
    setLogSink([](std::string_view line) { g_lines.emplace_back(line); });
    g_lines.clear();
  }
  void TearDown() override {
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir);
  }
  void writeFile(const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }
  std::vector<fs::path> filesInConfigDir() {
    return {fs::directory_iterator(fs::path(path).parent_path()), fs::directory_iterator()};
  }
  bool logged(std::string_view text) const {
    for (const std::string& line : g_lines)
      if (line.find(text) != std::string::npos) return true;
    return false;
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
    {"com.pelmora.nivoltDriver.shortcutSettings", "{\"0\":{}} 한국어 <&>\r\n"},
    {"nested", Value::Dict{{"data", Value::Data{{0, 1, 255}}}, {"when", Value::Date{1e9}}}},
};

// Also behind a byte-order mark and white space, which other editors write.
TEST_F(PlistStorage, RoundTripKeepsEveryKindOfValueAndAByteOrderMarkIsAccepted) {
  PlistDefaultsStorage storage(path);
  EXPECT_TRUE(storage.load().empty());  // no file yet: nothing, and no complaint
  ASSERT_TRUE(storage.save(kSample));
  EXPECT_EQ(PlistDefaultsStorage(path).load(), kSample);
  EXPECT_EQ(readFile(path).rfind("<?xml", 0), 0u);
  EXPECT_EQ(filesInConfigDir().size(), 1u);  // no temporary file left behind
  writeFile("\xEF\xBB\xBF \n\t" + readFile(path));
  EXPECT_EQ(PlistDefaultsStorage(path).load(), kSample);
  EXPECT_TRUE(g_lines.empty());
}

TEST_F(PlistStorage, UnreadableFilesAreMovedAsideNeverOverwritten) {
  std::string deep;  // 40 000 arrays, 600 KB
  for (int i = 0; i < 40000; ++i) deep += "<array>";
  for (int i = 0; i < 40000; ++i) deep += "</array>";
  std::vector<std::string> deepBinary{container(0xD0, {1, 2}, 4), asciiObject("k")};
  for (std::uint64_t i = 3; i < 100000; ++i) deepBinary.push_back(container(0xA0, {i}, 4));
  deepBinary.push_back("\xA0");
  struct Case {
    std::string content;
    const char* reason;
  } cases[] = {
      {"this is not a property list", "not a property list"},
      {"<?xml version=\"1.0\"?><plist version=\"1.0\"><array/></plist>", "not a dictionary"},
      // Would crash a reader that recurses, at every start.
      {"<plist><dict><key>k</key>" + deep + "</dict></plist>", "nested deeper than 512"},
      {binaryPlist(deepBinary, 4), "nested deeper than 512"},
      {binaryPlist({container(0xD0, {1, 2}), asciiObject("k"), asciiObject(std::string("a\0b", 3))}),
       "U+0000"},
  };
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
    for (const fs::path& p : filesInConfigDir()) kept += p.string() != path && readFile(p) == c.content;
    EXPECT_EQ(kept, 1);
    fs::remove_all(fs::path(path).parent_path());
  }
}

// Files that cannot be moved aside, or that the system will not give, stay
// as they are: the store starts at once on the defaults and saves nothing.
TEST_F(PlistStorage, FilesThatCannotBeMovedAsideAreKeptAndNeverSavedOver) {
  // /proc files can be read but never renamed, not even by root.
  PlistDefaultsStorage proc("/proc/version");
  EXPECT_TRUE(proc.load().empty());
  EXPECT_TRUE(logged("nor moved aside")) << g_lines[0];
  EXPECT_FALSE(proc.save({{"k", 1}}));

  // A name so long that no "moved aside" name fits beside it.
  fs::path longDir = dir;
  const std::size_t name = std::string_view("/com.nivolt.Kestrom.plist").size();
  while (longDir.string().size() + name < 4080)
    longDir /= std::string(std::min<std::size_t>(200, 4080 - longDir.string().size() - name - 1), 'd');
  const fs::path longFile = longDir / "com.nivolt.Kestrom.plist";
  fs::create_directories(longDir);
  std::ofstream(longFile) << "garbage";
  // A settings folder that is a link to itself.
  fs::create_directories(dir / "loop");
  fs::create_symlink("taviro", dir / "loop" / "taviro");
  const fs::path inLoop = dir / "loop" / "taviro" / "com.nivolt.Kestrom.plist";

  // (Log lines are cut at their buffer's end, which the long name reaches.)
  const std::pair<fs::path, const char*> cases[] = {
      {longFile, "Settings file"},
      {inLoop, "(Too many levels of symbolic links); using the defaults and not saving"}};
  for (const auto& [file, message] : cases) {
    g_lines.clear();
    PlistDefaultsStorage storage(file.string());
    EXPECT_TRUE(storage.load().empty());  // and at once: this used to loop forever
    ASSERT_EQ(g_lines.size(), 1u) << file;
    EXPECT_NE(g_lines[0].find(message), std::string::npos) << g_lines[0];
    EXPECT_FALSE(storage.save({{"k", 1}}));
  }
  EXPECT_EQ(readFile(longFile), "garbage");
}

// A file left to root by a run with sudo: not corrupt, only not ours.
TEST_F(PlistStorage, AFileWithoutReadPermissionStaysWhereItIs) {
  ASSERT_TRUE(writePlistDictionary(path, kSample));
  const std::string before = readFile(path);
  const fs::path folder = fs::path(path).parent_path();
  if (::geteuid() == 0) {
    // Root reads everything: the store runs as another user, who owns the
    // folder (so that it could rename the file) but not the file.
    ASSERT_EQ(::chown(dir.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  } else {
    fs::permissions(path, fs::perms::none);
  }
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) std::_Exit(3);
        setLogSink([](std::string_view line) { std::fprintf(stderr, "%.*s\n", int(line.size()), line.data()); });
        UserDefaults defaults(std::make_unique<PlistDefaultsStorage>(path));
        defaults.setObject("k", 1);
        std::_Exit(defaults.dictionaryRepresentation().size() == 1 && !defaults.synchronize() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "Permission denied.*sudo chown \"\\$USER\":");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(readFile(path), before);
  EXPECT_EQ(filesInConfigDir().size(), 1u);
}

// Dotfile managers link the settings file: the link stays and leads to the
// new content; the temporary file is made beside the target.
TEST_F(PlistStorage, ALinkedSettingsFileIsWrittenThroughTheLink) {
  const fs::path dotfiles = dir / "dotfiles";
  fs::create_directories(dotfiles);
  fs::create_directories(fs::path(path).parent_path());
  fs::create_symlink("../dotfiles/taviro.plist", path);
  PlistDefaultsStorage storage(path);
  EXPECT_TRUE(storage.load().empty());  // a dangling link: no settings yet
  for (const Value::Dict& d : {Value::Dict{{"a", 1}}, kSample}) {
    ASSERT_TRUE(storage.save(d));
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(readPlistDictionary((dotfiles / "taviro.plist").string()).dictionary, d);
  }
  // A corrupt target is moved aside beside itself; the link stays for the
  // fresh file.
  std::ofstream(dotfiles / "taviro.plist") << "garbage";
  PlistDefaultsStorage again(path);
  EXPECT_TRUE(again.load().empty());
  ASSERT_TRUE(again.save({{"b", 2}}));
  EXPECT_TRUE(fs::is_symlink(path));
  EXPECT_EQ(std::distance(fs::directory_iterator(dotfiles), fs::directory_iterator()), 2);
  EXPECT_EQ(readPlistDictionary(path).dictionary, (Value::Dict{{"b", 2}}));
}

// What could not be read back is not written, and the previous file stays.
TEST_F(PlistStorage, WritesThatCouldNotBeReadBackAreRefused) {
  ASSERT_TRUE(writePlistDictionary(path, {{"a", 1}}));
  const std::string before = readFile(path);
  Value deep = Value::Array{};
  for (int i = 0; i < 512; ++i) deep = Value::Array{deep};
  struct Case {
    const char* name;
    Value value;
    const char* reason;
  } cases[] = {
      {"over 64 MiB", std::string(65u << 20, 'x'), "64 MiB"},
      {"nested too deep", deep, "512"},
      {"NUL in a string", std::string("a\0b", 3), "U+0000"},
      {"control character", "\x01", "U+0001"},
      {"not UTF-8", "\xC3\x28", "UTF-8"},
      {"null", Value(), "null"},
      {"date after 9999", Value::Date{1e12}, "9999"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(writePlistDictionary(path, {{"k", c.value}}, &error)) << c.name;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
    EXPECT_EQ(readFile(path), before) << c.name;
  }
  // A folder where the file should be: the rename fails, nothing is lost.
  std::string error;
  const std::string blocked = (dir / "blocked").string();
  fs::create_directories(blocked);
  EXPECT_FALSE(writePlistDictionary(blocked, {{"b", 2}}, &error));
  EXPECT_TRUE(fs::is_directory(blocked));
  EXPECT_EQ(filesInConfigDir().size(), 1u);
}

// Values Taviro itself never stores survive a load and a save exactly.
TEST_F(PlistStorage, ValuesTheStoreDoesNotUseSurviveUnchanged) {
  const auto date = [](double since2001) { return "\x33" + bigEndian(std::bit_cast<std::uint64_t>(since2001), 8); };
  writeFile(binaryPlist({
      container(0xD0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}),
      asciiObject("big"), asciiObject("far"), asciiObject("old"), asciiObject("frac"),
      asciiObject("uid"),
      "\x14" + bigEndian(0, 8) + bigEndian(~0ull, 8),  // 2^64 - 1
      date(15761219445.0),                            // 2500-06-15 12:30:45
      date(-15795775755.0),                           // 1500-06-15 12:30:45
      date(0.25), std::string("\x80\x07", 2)}));
  const Value::Dict expected{{"big", Value(~std::uint64_t{0})},
                             {"far", Value::Date{16739526645.0}},
                             {"old", Value::Date{-14817468555.0}},
                             {"frac", Value::Date{978307200.25}},
                             {"uid", Value::Dict{{"CF$UID", 7}}},
                             {"touched", 1}};
  {
    UserDefaults defaults(std::make_unique<PlistDefaultsStorage>(path));
    defaults.setObject("touched", 1);
    ASSERT_TRUE(defaults.synchronize());
    EXPECT_EQ(defaults.dictionaryRepresentation(), expected);
  }
  EXPECT_EQ(PlistDefaultsStorage(path).load(), expected);
  const std::string xml = readFile(path);
  for (const char* text : {"18446744073709551615", "2500-06-15T12:30:45Z", "1500-06-15T12:30:45Z",
                           "2001-01-01T00:00:00.25Z", "<key>CF$UID</key>"})
    EXPECT_NE(xml.find(text), std::string::npos) << text;
  EXPECT_TRUE(g_lines.empty());
}

// 24 arrays that each name the next twice: 376 bytes that would expand to 16
// million values.
TEST_F(PlistStorage, SharedReferencesCannotExpandWithoutBound) {
  std::vector<std::string> objects{container(0xD0, {1, 2}), asciiObject("k")};
  for (std::uint64_t i = 0; i < 24; ++i) objects.push_back(container(0xA0, {i + 3, i + 3}));
  objects.push_back("\x09");
  writeFile(binaryPlist(objects));
  const PlistReadResult r = readPlistDictionary(path);
  EXPECT_EQ(r.status, PlistReadStatus::Refused);
  EXPECT_NE(r.error.find("more than 1048576 values"), std::string::npos) << r.error;
}

}  // namespace
}  // namespace taviro
