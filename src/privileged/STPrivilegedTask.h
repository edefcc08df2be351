#pragma once
// Runs one command with an administrator's rights and watches it until it
// ends, with the interface of an ordinary process object: launch path,
// arguments, working folder, launch, running flag, process id, termination
// status, the command's output, and a notification once it has ended.
//
// Main thread: the end is found by a status check every 0.1 s on the main
// queue, which keeps the task alive until then, so a caller may drop its
// reference right after launch.
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "foundation/MainQueue.h"
#include "foundation/NotificationCenter.h"
#include "privileged/PrivilegedExecutor.h"

namespace taviro {

// Posted once per launched task when its command has ended; the sender is the
// task, there is no user information.
inline constexpr const char* kSTPrivilegedTaskDidTerminateNotification =
    "STPrivilegedTaskDidTerminateNotification";

class STPrivilegedTask : public std::enable_shared_from_this<STPrivilegedTask> {
 public:
  static constexpr std::chrono::milliseconds kStatusCheckInterval{100};

  // What a task runs on; all must outlive every task made with it.
  struct Services {
    PrivilegedExecutor& executor;
    MainQueue& mainQueue;
    NotificationCenter& notifications = NotificationCenter::defaultCenter();
  };

  // A task with the given launch path and arguments, working in the current
  // folder of the moment.
  static std::shared_ptr<STPrivilegedTask> create(Services services, std::string launchPath,
                                                  std::vector<std::string> arguments = {});

  const std::string& launchPath() const { return launchPath_; }
  const std::vector<std::string>& arguments() const { return arguments_; }
  const std::string& currentDirectoryPath() const { return cwd_; }
  void setCurrentDirectoryPath(std::string path) { cwd_ = std::move(path); }

  bool isRunning() const { return isRunning_; }
  int processIdentifier() const { return pid_; }
  // The raw wait status, not decoded into an exit code.
  int terminationStatus() const { return terminationStatus_; }
  // The read end of the command's output; null before a successful launch.
  const std::shared_ptr<OutputHandle>& outputFileHandle() const { return outputFileHandle_; }

  // 0 once the command has started; otherwise the executor's status, and the
  // task stays as it was.
  int launch();
  // Blocks until the command has ended. The status check still posts the
  // notification afterwards.
  void waitUntilExit();
  // "<STPrivilegedTask: 0x…> " then the launch path and each argument, each
  // preceded by one blank.
  std::string description() const;

 private:
  STPrivilegedTask(Services services, std::string launchPath, std::vector<std::string> arguments);
  void scheduleStatusCheck();
  void checkTaskStatus();
  void noteEnd(int status);

  Services services_;
  std::string launchPath_;
  std::vector<std::string> arguments_;
  std::string cwd_;
  bool isRunning_ = false;
  int pid_ = 0;
  int terminationStatus_ = 0;
  std::shared_ptr<OutputHandle> outputFileHandle_;
};

}  // namespace taviro
