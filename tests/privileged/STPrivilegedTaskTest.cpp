// The privileged runner through pkexec, with a stand-in for pkexec first in
// PATH: a script that notes its folder and arguments, prints a line and exits
// with the status the test chose.
#include "privileged/STPrivilegedTask.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "ManualMainQueue.h"
#include "foundation/Log.h"
#include "platform/linux/PkexecExecutor.h"

namespace taviro {
namespace {

namespace fs = std::filesystem;

std::string gLog;

std::string slurp(const fs::path& p) {
  std::stringstream text;
  text << std::ifstream(p).rdbuf();
  return text.str();
}

class PrivilegedTask : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(bin_);
    fs::create_directories(folder_);
    std::ofstream(bin_ / "pkexec") << "#!/bin/sh\n"
                                      "pwd > \"$0.cwd\"\n"
                                      "printf '%s\\n' \"$@\" > \"$0.args\"\n"
                                      "echo 'priority changed'\n"
                                      "exit $(cat \"$0.status\")\n";
    fs::permissions(bin_ / "pkexec", fs::perms::owner_all);
    setenv("PATH", (bin_.string() + ":" + path_).c_str(), 1);
    sink_ = setLogSink([](std::string_view line) { gLog += line; });
    token_ = NotificationCenter::defaultCenter().addObserver(
        kSTPrivilegedTaskDidTerminateNotification, [this](const Notification& n) {
          ++ended_;
          endStatus_ = static_cast<const STPrivilegedTask*>(n.sender)->terminationStatus();
        });
  }
  void TearDown() override {
    NotificationCenter::defaultCenter().removeObserver(token_);
    setLogSink(sink_);
    setenv("PATH", path_.c_str(), 1);
    fs::remove_all(root_);
  }
  std::shared_ptr<STPrivilegedTask> task(std::vector<std::string> arguments = {"-20", "-p", "42"}) {
    return STPrivilegedTask::create({executor_, queue_}, "/usr/bin/renice", std::move(arguments));
  }
  // Runs the 0.1 s status checks (without the wait) until none is left.
  void runChecks() {
    for (int i = 0; i < 500 && queue_.hasDelayed(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      queue_.runDelayed();
    }
  }

  const fs::path root_ = fs::temp_directory_path() / ("taviro-pkexec-" + std::to_string(getpid()));
  const fs::path bin_ = root_ / "bin";
  const fs::path folder_ = root_ / "작업 폴더";
  const std::string path_ = std::getenv("PATH") ? std::getenv("PATH") : "";
  linux_input::PkexecExecutor executor_;
  fakes::ManualMainQueue queue_;
  LogSink sink_ = nullptr;
  NotificationCenter::Token token_ = 0;
  int ended_ = 0;
  int endStatus_ = -1;
};

// The end is posted once, whether the checks see it or waitUntilExit did;
// the pending check keeps a task alive that its caller let go at once.
TEST_F(PrivilegedTask, TheStatusIsPostedOnceAndARefusalIsLogged) {
  struct Row {
    int status;
    bool waited;
    const char* logged;  // empty: nothing
  };
  for (const Row& row : {Row{0, false, ""}, Row{126, false, "dismissed"},
                         Row{127, true, "not authorised"}}) {
    SCOPED_TRACE(row.status);
    std::ofstream(bin_ / "pkexec.status") << row.status;
    gLog.clear();
    ended_ = 0;
    std::shared_ptr<STPrivilegedTask> launched = task();
    ASSERT_EQ(launched->launch(), 0);
    EXPECT_TRUE(launched->isRunning());
    if (row.waited) launched->waitUntilExit();
    const int output = dup(launched->outputFileHandle()->fileDescriptor());
    const std::weak_ptr<STPrivilegedTask> alive = launched;
    launched.reset();
    EXPECT_FALSE(alive.expired());
    runChecks();
    EXPECT_TRUE(alive.expired());
    EXPECT_EQ(ended_, 1);
    EXPECT_TRUE(WIFEXITED(endStatus_) && WEXITSTATUS(endStatus_) == row.status) << endStatus_;
    if (*row.logged) EXPECT_NE(gLog.find(row.logged), std::string::npos) << gLog;
    if (!*row.logged) EXPECT_EQ(gLog, "");
    char out[64] = {};
    EXPECT_GT(read(output, out, sizeof out - 1), 0);
    close(output);
    EXPECT_STREQ(out, "priority changed\n");
  }
}

TEST_F(PrivilegedTask, ArgumentsAndTheWorkingFolderReachOnlyTheCommand) {
  std::ofstream(bin_ / "pkexec.status") << 0;
  const fs::path here = fs::current_path();
  auto launched = task({"-20", "한글 이름/ü é", "", "$(touch x)"});
  EXPECT_EQ(launched->currentDirectoryPath(), here.string());
  launched->setCurrentDirectoryPath(folder_.string());
  ASSERT_EQ(launched->launch(), 0);
  EXPECT_EQ(fs::current_path(), here);
  launched->waitUntilExit();
  EXPECT_EQ(slurp(bin_ / "pkexec.args"), "/usr/bin/renice\n-20\n한글 이름/ü é\n\n$(touch x)\n");
  EXPECT_EQ(slurp(bin_ / "pkexec.cwd"), folder_.string() + "\n");
  EXPECT_TRUE(launched->description().starts_with("<STPrivilegedTask: 0x"));
  EXPECT_TRUE(launched->description().ends_with(
      "> /usr/bin/renice -20 한글 이름/ü é  $(touch x)"));
}

TEST_F(PrivilegedTask, WithoutPkexecOrItsFolderNothingStarts) {
  for (const fs::path& path : {folder_, bin_}) {  // no pkexec in PATH; no such folder
    setenv("PATH", path.c_str(), 1);
    auto launched = task();
    launched->setCurrentDirectoryPath((root_ / "gone").string());
    EXPECT_NE(launched->launch(), 0);
    launched->waitUntilExit();  // nothing to wait for
    runChecks();
    EXPECT_FALSE(launched->isRunning());
    EXPECT_EQ(ended_, 0);
  }
}

}  // namespace
}  // namespace taviro
