#pragma once
// Opens a file or application on the user's behalf with the desktop's opener
// (on Linux `xdg-open PATH`). The program is started detached with the path as
// its single argument, never through a shell, and never waited for: the opener
// reports a bad path itself.
#include <string>

namespace taviro {

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  virtual void openPath(const std::string& path) = 0;
};

}  // namespace taviro
