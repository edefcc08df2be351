#include "privileged/STPrivilegedTask.h"

#include <gtest/gtest.h>

#include "ManualMainQueue.h"

namespace taviro {
namespace {

// A command that ends after `checksToEnd` non-blocking waits (or at a
// blocking one) with `endStatus`.
struct FakeExecutor : PrivilegedExecutor {
  PrivilegedStart execute(const std::string& tool, const std::vector<std::string>& args,
                          const std::string& folder) override {
    ran = {tool, args, folder};
    return {.status = startStatus, .pid = startStatus ? 0 : 4242, .output = nullptr};
  }
  WaitResult wait(int pid, bool block) override {
    ++waits;
    if (pid != 4242 || reaped) return {.result = -1};
    if (!block && --checksToEnd > 0) return {.result = 0};
    reaped = true;
    return {.result = pid, .status = endStatus};
  }
  std::string currentFolder() const override { return "/home/사용자"; }
  std::optional<std::string> refusal(int) const override { return std::nullopt; }

  struct Run {
    std::string tool;
    std::vector<std::string> args;
    std::string folder;
  } ran;
  int startStatus = 0;
  int checksToEnd = 1;
  int endStatus = 126 << 8;
  int waits = 0;
  bool reaped = false;
};

class PrivilegedTask : public ::testing::Test {
 protected:
  PrivilegedTask() {
    token_ = center_.addObserver(kSTPrivilegedTaskDidTerminateNotification,
                                 [this](const Notification& n) { senders_.push_back(n.sender); });
  }
  ~PrivilegedTask() override { center_.removeObserver(token_); }
  STPrivilegedTask::Services services() { return {executor_, queue_, center_}; }
  // Runs the status checks until none is left.
  void runChecks() {
    for (int i = 0; i < 20; ++i) queue_.runDelayed();
  }

  FakeExecutor executor_;
  fakes::ManualMainQueue queue_;
  NotificationCenter center_;
  NotificationCenter::Token token_;
  std::vector<const void*> senders_;
};

TEST_F(PrivilegedTask, AFailedLaunchReturnsItsStatusAndLeavesTheTaskAsItWas) {
  executor_.startStatus = 2;
  auto task = STPrivilegedTask::create(services(), "/usr/bin/renice");
  EXPECT_EQ(task->launch(), 2);
  EXPECT_FALSE(task->isRunning());
  EXPECT_EQ(task->processIdentifier(), 0);
  task->waitUntilExit();  // nothing to wait for
  runChecks();
  EXPECT_EQ(executor_.waits, 0);
  EXPECT_TRUE(senders_.empty());
}

TEST_F(PrivilegedTask, TheEndIsPostedExactlyOnceWithTheRawStatus) {
  struct Row {
    const char* name;
    int checksToEnd;
    bool waitUntilExit;
  };
  for (const Row& row : {Row{"ends at once", 1, false}, Row{"ends at the third check", 3, false},
                         Row{"waited for", 5, true}}) {
    SCOPED_TRACE(row.name);
    executor_ = FakeExecutor{};
    executor_.checksToEnd = row.checksToEnd;
    senders_.clear();
    auto task = STPrivilegedTask::create(services(), "/usr/bin/renice", {"-20", "-p", "42"});
    ASSERT_EQ(task->launch(), 0);
    EXPECT_TRUE(task->isRunning());
    EXPECT_EQ(task->processIdentifier(), 4242);
    if (row.waitUntilExit) {
      task->waitUntilExit();
      EXPECT_FALSE(task->isRunning());
      EXPECT_EQ(task->terminationStatus(), 126 << 8);
    }
    // The pending check keeps the task alive after its last owner let go.
    const std::weak_ptr<STPrivilegedTask> alive = task;
    const void* sender = task.get();
    task.reset();
    ASSERT_FALSE(alive.expired());
    runChecks();
    EXPECT_TRUE(alive.expired());
    EXPECT_EQ(senders_, std::vector<const void*>{sender});
  }
}

TEST_F(PrivilegedTask, RunsInTheFolderOfItsCreationAndDescribesItsCommand) {
  auto task = STPrivilegedTask::create(services(), "/usr/bin/sudo", {"renice", "-20", "-p", "42"});
  EXPECT_EQ(task->currentDirectoryPath(), "/home/사용자");
  task->setCurrentDirectoryPath("/tmp/폴더");
  ASSERT_EQ(task->launch(), 0);
  EXPECT_EQ(executor_.ran.folder, "/tmp/폴더");
  EXPECT_EQ(executor_.ran.args, task->arguments());
  const std::string text = task->description();
  EXPECT_TRUE(text.starts_with("<STPrivilegedTask: 0x")) << text;
  EXPECT_TRUE(text.ends_with("> /usr/bin/sudo renice -20 -p 42")) << text;
}

}  // namespace
}  // namespace taviro
