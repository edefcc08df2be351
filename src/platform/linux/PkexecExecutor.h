#pragma once
// Runs a command with an administrator's rights through pkexec: polkit's
// agent asks for the credentials. pkexec itself is found in PATH and started
// with no shell, the command and its arguments passed on unchanged; the
// command's standard output comes back through a pipe. pkexec reports a
// dismissed dialog (126) or a refusal (127) only through its exit status.
#include <string>

#include "privileged/PrivilegedExecutor.h"

namespace taviro::linux_input {

class PkexecExecutor : public PrivilegedExecutor {
 public:
  explicit PkexecExecutor(std::string program = "pkexec") : program_(std::move(program)) {}

  PrivilegedStart execute(const std::string& tool, const std::vector<std::string>& arguments,
                          const std::string& workingFolder) override;
  WaitResult wait(int pid, bool block) override;
  std::string currentFolder() const override;
  std::optional<std::string> refusal(int waitStatus) const override;

 private:
  std::string program_;
};

}  // namespace taviro::linux_input
