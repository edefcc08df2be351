#include "privileged/STPrivilegedTask.h"

#include <cstdio>

#include "foundation/Log.h"

namespace taviro {

STPrivilegedTask::STPrivilegedTask(Services services, std::string launchPath,
                                   std::vector<std::string> arguments)
    : services_(services),
      launchPath_(std::move(launchPath)),
      arguments_(std::move(arguments)),
      cwd_(services.executor.currentFolder()) {}

std::shared_ptr<STPrivilegedTask> STPrivilegedTask::create(Services services,
                                                           std::string launchPath,
                                                           std::vector<std::string> arguments) {
  return std::shared_ptr<STPrivilegedTask>(
      new STPrivilegedTask(services, std::move(launchPath), std::move(arguments)));
}

int STPrivilegedTask::launch() {
  PrivilegedStart started = services_.executor.execute(launchPath_, arguments_, cwd_);
  if (started.status != 0) {
    logBare("Could not run %s with administrator's rights (status %d)", launchPath_.c_str(),
            started.status);
    return started.status;
  }
  isRunning_ = true;
  outputFileHandle_ = std::move(started.output);
  pid_ = started.pid;
  scheduleStatusCheck();
  return 0;
}

void STPrivilegedTask::scheduleStatusCheck() {
  // The queued check holds the task, as a repeating timer holds its target.
  services_.mainQueue.after(kStatusCheckInterval,
                            [self = shared_from_this()] { self->checkTaskStatus(); });
}

void STPrivilegedTask::checkTaskStatus() {
  const WaitResult wait = services_.executor.wait(pid_, false);
  if (wait.result == 0) {
    scheduleStatusCheck();
    return;
  }
  // Ended now, or the wait failed because waitUntilExit already saw the end.
  if (wait.result == pid_) noteEnd(wait.status);
  isRunning_ = false;
  services_.notifications.post(kSTPrivilegedTaskDidTerminateNotification, this);
}

void STPrivilegedTask::waitUntilExit() {
  // Never launched: there is nothing to wait for (a wait for pid 0 would take
  // any child of the process group).
  if (pid_ <= 0) return;
  const WaitResult wait = services_.executor.wait(pid_, true);
  if (wait.result == pid_) noteEnd(wait.status);
  isRunning_ = false;
}

void STPrivilegedTask::noteEnd(int status) {
  terminationStatus_ = status;
  if (const std::optional<std::string> why = services_.executor.refusal(status)) {
    logBare("%s was not run with administrator's rights: %s", launchPath_.c_str(), why->c_str());
  }
}

std::string STPrivilegedTask::description() const {
  char base[64];
  std::snprintf(base, sizeof base, "<STPrivilegedTask: %p>", static_cast<const void*>(this));
  std::string text = std::string(base) + " " + launchPath_;
  for (const std::string& argument : arguments_) text += " " + argument;
  return text;
}

}  // namespace taviro
