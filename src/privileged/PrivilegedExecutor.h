#pragma once
// What the privileged runner needs of the system: running one command with an
// administrator's rights (the system asks the user for the credentials), and
// waiting for its end. On Linux the command runs through pkexec
// (src/platform/linux/PkexecExecutor); tests use a fake.
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace taviro {

// The read end of a command's output; closes its descriptor when destroyed.
class OutputHandle {
 public:
  virtual ~OutputHandle() = default;
  virtual int fileDescriptor() const = 0;
};

struct PrivilegedStart {
  int status = 0;  // 0 once the command has started; otherwise why not (an errno value)
  int pid = 0;     // the process to wait for
  std::shared_ptr<OutputHandle> output;
};

struct WaitResult {
  int result = 0;  // 0: still running (only without blocking); pid: it ended; -1: the wait failed
  int status = 0;  // the raw wait status; set only when it ended
};

class PrivilegedExecutor {
 public:
  virtual ~PrivilegedExecutor() = default;
  // Starts `tool` with `arguments` in `workingFolder`, with administrator's
  // rights. The working folder is the command's only: the caller's stays.
  virtual PrivilegedStart execute(const std::string& tool,
                                  const std::vector<std::string>& arguments,
                                  const std::string& workingFolder) = 0;
  virtual WaitResult wait(int pid, bool block) = 0;
  // The caller's current folder.
  virtual std::string currentFolder() const = 0;
  // For a command that ended with `waitStatus`: why the rights were not
  // granted (the credentials dialog was dismissed or refused); nothing when
  // the command itself ran.
  virtual std::optional<std::string> refusal(int waitStatus) const = 0;
};

}  // namespace taviro
