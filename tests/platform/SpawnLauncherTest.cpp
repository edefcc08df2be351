#include "platform/linux/SpawnLauncher.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace taviro::linux_input {
namespace {

namespace fs = std::filesystem;

class Opener : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override { fs::remove_all(dir); }
  static bool appears(const fs::path& p) {
    for (int i = 0; i < 200 && !fs::exists(p); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return fs::exists(p);
  }
  const fs::path dir = fs::temp_directory_path() / ("taviro-open-" + std::to_string(getpid()));
};

TEST_F(Opener, StartsTheProgramWithThePathAsItsOnlyArgument) {
  // Characters a shell would act on reach the program unchanged.
  const fs::path target = dir / "a b;$(echo x)'.txt";
  SpawnLauncher("touch").openPath(target.string());
  EXPECT_TRUE(appears(target));
  EXPECT_FALSE(fs::exists(dir / "x"));
}

// The stand-in opener writes its argument count, first argument and
// blocked-signal mask to opener.args. Perl (Debian's perl-base is always
// there), not sh: dash clears the mask it inherits, bash keeps it.
TEST_F(Opener, APathLikeAnOptionReachesTheOpenerAsAFileWithNoSignalsBlocked) {
  const fs::path opener = dir / "opener";
  std::ofstream(opener) << "#!/usr/bin/perl\n"
                           "open(my $s, '<', '/proc/self/status');\n"
                           "my ($mask) = grep { /^SigBlk/ } <$s>;\n"
                           "open(my $o, '>', \"$0.tmp\");\n"
                           "print $o scalar(@ARGV), \"\\n$ARGV[0]\\n$mask\";\n"
                           "close($o);\n"
                           "rename(\"$0.tmp\", \"$0.args\");\n";
  fs::permissions(opener, fs::perms::owner_all);
  // taviro-driver blocks these in every thread for its signal thread.
  sigset_t stop, previous;
  sigemptyset(&stop);
  sigaddset(&stop, SIGINT);
  sigaddset(&stop, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop, &previous);
  SpawnLauncher(opener.string()).openPath("--help");
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);

  ASSERT_TRUE(appears(dir / "opener.args"));
  std::ifstream args(dir / "opener.args");
  std::string count, first, blocked;
  std::getline(args, count);
  std::getline(args, first);
  std::getline(args, blocked);
  EXPECT_EQ(count, "1");
  EXPECT_EQ(first, "./--help");
  EXPECT_EQ(blocked, "SigBlk:\t0000000000000000");
  EXPECT_EQ(openerArgument("/home/me/-notes.txt"), "/home/me/-notes.txt");
}

TEST(OpenerLookup, AMissingProgramIsReportedNotStarted) {
  EXPECT_EQ(findProgram("taviro-no-such-program"), "");
  EXPECT_EQ(findProgram("/bin/sh"), "/bin/sh");
  SpawnLauncher("taviro-no-such-program").openPath("/tmp");  // logs, returns
}

}  // namespace
}  // namespace taviro::linux_input
