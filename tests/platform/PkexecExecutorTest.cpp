// The privileged runner on Linux, with a stand-in for pkexec first in PATH: a
// script that notes its folder and arguments, prints a line and exits with
// the status the test chose.
#include "platform/linux/PkexecExecutor.h"

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
#include "privileged/STPrivilegedTask.h"

namespace taviro::linux_input {
namespace {

namespace fs = std::filesystem;

std::string gLog;
void keepLine(std::string_view line) { gLog += line; }

std::string slurp(const fs::path& p) {
  std::ifstream in(p);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class Pkexec : public ::testing::Test {
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
    const char* path = std::getenv("PATH");
    oldPath_ = path ? path : "";
    setenv("PATH", (bin_.string() + ":" + oldPath_).c_str(), 1);
    oldSink_ = setLogSink(keepLine);
    gLog.clear();
    token_ = NotificationCenter::defaultCenter().addObserver(
        kSTPrivilegedTaskDidTerminateNotification, [this](const Notification&) { ++ended_; });
  }
  void TearDown() override {
    NotificationCenter::defaultCenter().removeObserver(token_);
    setLogSink(oldSink_);
    setenv("PATH", oldPath_.c_str(), 1);
    fs::remove_all(root_);
  }
  // Checks the task's status as its 0.1 s checks would, until it has ended.
  void runUntilEnded(const STPrivilegedTask& task) {
    for (int i = 0; i < 500 && task.isRunning(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      queue_.runDelayed();
    }
    for (int i = 0; i < 5; ++i) queue_.runDelayed();  // nothing more may come
  }

  const fs::path root_ = fs::temp_directory_path() / ("taviro-pkexec-" + std::to_string(getpid()));
  const fs::path bin_ = root_ / "bin";
  const fs::path folder_ = root_ / "작업 폴더";
  PkexecExecutor executor_;
  fakes::ManualMainQueue queue_;
  std::string oldPath_;
  LogSink oldSink_ = nullptr;
  NotificationCenter::Token token_ = 0;
  int ended_ = 0;
};

TEST_F(Pkexec, TheCommandsStatusIsSurfacedOnceAndARefusalIsLogged) {
  struct Row {
    int status;
    const char* logged;  // empty: nothing is logged
  };
  for (const Row& row : {Row{0, ""}, Row{126, "dismissed"}, Row{127, "not authorised"}}) {
    SCOPED_TRACE(row.status);
    std::ofstream(bin_ / "pkexec.status") << row.status;
    gLog.clear();
    ended_ = 0;
    auto task =
        STPrivilegedTask::create({executor_, queue_}, "/usr/bin/renice", {"-20", "-p", "42"});
    ASSERT_EQ(task->launch(), 0);
    EXPECT_TRUE(task->isRunning());
    EXPECT_GT(task->processIdentifier(), 0);
    runUntilEnded(*task);
    EXPECT_FALSE(task->isRunning());
    EXPECT_EQ(ended_, 1);
    ASSERT_TRUE(WIFEXITED(task->terminationStatus()));
    EXPECT_EQ(WEXITSTATUS(task->terminationStatus()), row.status);
    if (*row.logged) {
      EXPECT_NE(gLog.find(row.logged), std::string::npos) << gLog;
    } else {
      EXPECT_EQ(gLog, "");
    }
    char out[64] = {};
    EXPECT_GT(read(task->outputFileHandle()->fileDescriptor(), out, sizeof out - 1), 0);
    EXPECT_STREQ(out, "priority changed\n");
  }
}

TEST_F(Pkexec, ArgumentsAndTheWorkingFolderReachTheCommandWhileTheCallersFolderStays) {
  std::ofstream(bin_ / "pkexec.status") << 0;
  const fs::path here = fs::current_path();
  auto task = STPrivilegedTask::create({executor_, queue_}, "/usr/bin/renice",
                                       {"-20", "한글 이름/ü é", "", "$(touch x)"});
  task->setCurrentDirectoryPath(folder_.string());
  ASSERT_EQ(task->launch(), 0);
  EXPECT_EQ(fs::current_path(), here);
  runUntilEnded(*task);
  EXPECT_EQ(slurp(bin_ / "pkexec.args"), "/usr/bin/renice\n-20\n한글 이름/ü é\n\n$(touch x)\n");
  EXPECT_EQ(slurp(bin_ / "pkexec.cwd"), folder_.string() + "\n");
  EXPECT_EQ(fs::current_path(), here);
}

TEST_F(Pkexec, WithoutPkexecOrItsFolderNothingStarts) {
  const auto noStart = [this](const char* path, const fs::path& folder) {
    setenv("PATH", path, 1);
    auto task = STPrivilegedTask::create({executor_, queue_}, "/usr/bin/renice");
    task->setCurrentDirectoryPath(folder.string());
    const int status = task->launch();
    runUntilEnded(*task);
    return status != 0 && !task->isRunning() && ended_ == 0;
  };
  EXPECT_TRUE(noStart(folder_.c_str(), folder_));  // no pkexec in PATH
  EXPECT_TRUE(noStart(bin_.c_str(), root_ / "no such folder"));
}

}  // namespace
}  // namespace taviro::linux_input
