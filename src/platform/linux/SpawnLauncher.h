#pragma once
// Opens a file or application with the desktop's opener, `xdg-open PATH`,
// started detached: no shell, the path its single argument, never waited for.
// The opener runs as a grandchild in its own session, so it leaves no zombie
// behind and outlives the driver.
#include <string>

#include "shortcuts/ProcessLauncher.h"

namespace taviro::linux_input {

class SpawnLauncher : public ProcessLauncher {
 public:
  explicit SpawnLauncher(std::string program = "xdg-open") : program_(std::move(program)) {}
  void openPath(const std::string& path) override;

 private:
  std::string program_;
};

// The opener's argument for `path`: xdg-open takes anything beginning with
// '-' for an option and knows no "--", so such a path (always relative) goes
// as "./-...", which names the same file and can never be an option.
std::string openerArgument(const std::string& path);

// `program` looked up in PATH (or taken as is when it holds a '/'); empty when
// not found or not executable.
std::string findProgram(const std::string& program);

}  // namespace taviro::linux_input
