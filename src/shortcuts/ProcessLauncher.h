#pragma once
// Opens a file or starts an application on the user's behalf (on Linux a
// ".desktop" entry through `gio launch`, an executable itself, anything else
// through `xdg-open`). The program is started detached, never through a
// shell, and never waited for: the opener reports a bad path itself.
#include <string>

namespace taviro {

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  virtual void openPath(const std::string& path) = 0;
};

}  // namespace taviro
