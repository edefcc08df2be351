#include "platform/linux/SpawnLauncher.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "foundation/Log.h"

namespace taviro::linux_input {

void PrintTo(const LaunchPlan& plan, std::ostream* out) {
  *out << ::testing::PrintToString(plan.argv) << " from " << plan.helperPackage << ", else "
       << ::testing::PrintToString(plan.fallback);
}

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

TEST(LaunchPlan, EntriesLaunchAsApplicationsProgramsStartThemselvesTheRestGoesToTheOpener) {
  const FileFacts missing{}, document{.regular = true};
  const FileFacts program{.regular = true, .executable = true};
  const LaunchPlan krita{.argv = {"/usr/bin/krita"}, .fallback = {"xdg-open", "/usr/bin/krita"}};
  const struct {
    const char* path;
    FileFacts facts;
    LaunchPlan plan;
  } rows[] = {
      {"/usr/share/applications/org.kde.krita.desktop", document,
       {.argv = {"gio", "launch", "/usr/share/applications/org.kde.krita.desktop"},
        .helperPackage = "libglib2.0-bin"}},
      // A trusted launcher on the desktop carries the execute bit but is no program.
      {"/home/me/Desktop/krita.desktop", program,
       {.argv = {"gio", "launch", "/home/me/Desktop/krita.desktop"},
        .helperPackage = "libglib2.0-bin"}},
      {"-notes.desktop", document,
       {.argv = {"gio", "launch", "./-notes.desktop"}, .helperPackage = "libglib2.0-bin"}},
      {"/home/me/apps.desktop", missing,  // a folder so named, or nothing at all
       {.argv = {"xdg-open", "/home/me/apps.desktop"}, .helperPackage = "xdg-utils"}},
      {"/usr/bin/krita", program, krita},
      {"run.sh", program, {.argv = {"./run.sh"}, .fallback = {"xdg-open", "run.sh"}}},
      {"-run.sh", program, {.argv = {"./-run.sh"}, .fallback = {"xdg-open", "./-run.sh"}}},
      {"/home/me/Pictures/reference.png", document,
       {.argv = {"xdg-open", "/home/me/Pictures/reference.png"}, .helperPackage = "xdg-utils"}},
      {"/home/me/-notes.txt", document,
       {.argv = {"xdg-open", "/home/me/-notes.txt"}, .helperPackage = "xdg-utils"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path);
    EXPECT_EQ(planLaunch(row.path, row.facts, "xdg-open"), row.plan);
  }
}

class Launcher : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(dir / "bin"); }
  void TearDown() override {
    setenv("PATH", savedPath.c_str(), 1);
    fs::remove_all(dir);
  }

  // A stand-in program that writes its blocked-signal mask and then its
  // arguments, one a line, to "<its path>.args". Perl (Debian's perl-base is
  // always there), not sh: dash clears the mask it inherits, bash keeps it.
  fs::path recorder(const fs::path& program) const {
    std::ofstream(program) << "#!/usr/bin/perl\n"
                              "open(my $s, '<', '/proc/self/status');\n"
                              "my ($mask) = grep { /^SigBlk/ } <$s>;\n"
                              "open(my $o, '>', \"$0.tmp\");\n"
                              "print $o $mask, map { \"$_\\n\" } @ARGV;\n"
                              "close($o);\n"
                              "rename(\"$0.tmp\", \"$0.args\");\n";
    fs::permissions(program, fs::perms::owner_all);
    return program;
  }

  // What the recorder at `program` wrote, waiting up to 2 s for it; empty if
  // it never ran.
  static Lines recorded(const fs::path& program) {
    fs::path args = program;
    args += ".args";
    if (!appears(args)) return {};
    std::ifstream in(args);
    Lines lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  static bool appears(const fs::path& p) {
    for (int i = 0; i < 200 && !fs::exists(p); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return fs::exists(p);
  }

  const fs::path dir = fs::temp_directory_path() / ("taviro-open-" + std::to_string(getpid()));
  const std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  static constexpr const char* kNoSignals = "SigBlk:\t0000000000000000";
};

TEST_F(Launcher, StartsTheOpenerWithThePathAsItsOnlyArgument) {
  // Characters a shell would act on reach the program unchanged.
  const fs::path target = dir / "a b;$(echo x)'.txt";
  SpawnLauncher("touch").openPath(target.string());
  EXPECT_TRUE(appears(target));
  EXPECT_FALSE(fs::exists(dir / "x"));
}

TEST_F(Launcher, APathLikeAnOptionReachesTheOpenerAsAFileWithNoSignalsBlocked) {
  const fs::path opener = recorder(dir / "opener");
  // taviro-driver blocks these in every thread for its signal thread.
  sigset_t stop, previous;
  sigemptyset(&stop);
  sigaddset(&stop, SIGINT);
  sigaddset(&stop, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop, &previous);
  SpawnLauncher(opener.string()).openPath("--help");
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  EXPECT_EQ(recorded(opener), (Lines{kNoSignals, "./--help"}));
}

TEST_F(Launcher, EntriesProgramsAndFilesThatCannotRunEachStartTheirOwnWay) {
  const fs::path opener = recorder(dir / "opener");
  const fs::path gio = recorder(dir / "bin" / "gio");
  setenv("PATH", (dir / "bin").c_str(), 1);
  const fs::path entry = dir / "krita.desktop";
  std::ofstream(entry) << "[Desktop Entry]\nType=Application\nExec=krita %F\n";
  const fs::path program = recorder(dir / "tool");
  // Neither a binary nor a script, yet executable, as on a memory card.
  const fs::path picture = dir / "picture.png";
  std::ofstream(picture) << "\x89PNG\r\n";
  fs::permissions(picture, fs::perms::owner_all);

  SpawnLauncher launcher(opener.string());
  launcher.openPath(entry.string());
  launcher.openPath(program.string());
  launcher.openPath(picture.string());

  EXPECT_EQ(recorded(gio), (Lines{kNoSignals, "launch", entry.string()}));
  EXPECT_EQ(recorded(program), Lines{kNoSignals});
  EXPECT_EQ(recorded(opener), (Lines{kNoSignals, picture.string()}));
}

Lines logged;
void keepLine(std::string_view line) { logged.emplace_back(line); }

TEST_F(Launcher, AMissingHelperIsReportedWithItsPackage) {
  EXPECT_EQ(findProgram("taviro-no-such-program"), "");
  EXPECT_EQ(findProgram("/bin/sh"), "/bin/sh");
  const fs::path entry = dir / "krita.desktop";
  std::ofstream(entry) << "[Desktop Entry]\n";
  setenv("PATH", (dir / "bin").c_str(), 1);  // no gio in it
  const LogSink previous = setLogSink(keepLine);
  SpawnLauncher("taviro-no-such-program").openPath("/tmp");
  SpawnLauncher().openPath(entry.string());
  setLogSink(previous);
  EXPECT_EQ(logged, (Lines{"Cannot open /tmp: taviro-no-such-program was not found (install "
                           "xdg-utils).",
                           "Cannot open " + entry.string() +
                               ": gio was not found (install libglib2.0-bin)."}));
}

}  // namespace
}  // namespace taviro::linux_input
