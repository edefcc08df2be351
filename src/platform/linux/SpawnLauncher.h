#pragma once
// Opens a file or application for a "RunFile:" shortcut, started detached: no
// shell, never waited for. The program runs as a grandchild in its own
// session, so it leaves no zombie behind and outlives the driver.
//
// xdg-open shows an application's ".desktop" entry as text and does not run
// an executable, so those two are started as applications instead:
// planLaunch decides the way from the path and what the file system says
// (pure), SpawnLauncher looks the program up and starts it.
#include <string>
#include <vector>

#include "shortcuts/ProcessLauncher.h"

namespace taviro::linux_input {

class SpawnLauncher : public ProcessLauncher {
 public:
  explicit SpawnLauncher(std::string opener = "xdg-open") : opener_(std::move(opener)) {}
  void openPath(const std::string& path) override;

 private:
  std::string opener_;
};

// What the file system says about a path (symbolic links followed).
struct FileFacts {
  bool regular = false;     // an existing regular file
  bool executable = false;  // one this user may execute
};

struct LaunchPlan {
  std::vector<std::string> argv;
  // The Debian package of the helper argv[0], which is looked up in PATH;
  // empty when argv[0] is the file itself, started as it stands.
  std::string helperPackage;
  // The opener's command, tried when the file turns out not to be executable
  // after all (a picture on a memory card where every file has the execute
  // bit): it then opens as before.
  std::vector<std::string> fallback;
  friend bool operator==(const LaunchPlan&, const LaunchPlan&) = default;
};

// A regular file ending in ".desktop" is launched as the application it
// describes (`gio launch`, which honours Exec, Terminal and field codes); any
// other regular file this user may execute is started itself, with no
// arguments; everything else (documents, folders, URLs, missing paths) goes
// to `opener`, which reports a bad path itself.
LaunchPlan planLaunch(const std::string& path, FileFacts facts, const std::string& opener);

// `path` as an argument that can never be an option: xdg-open and gio take
// anything beginning with '-' for one and neither honours "--", so such a
// path (always relative) goes as "./-...", which names the same file.
std::string openerArgument(const std::string& path);

// `program` looked up in PATH (or taken as is when it holds a '/'); empty when
// not found or not executable.
std::string findProgram(const std::string& program);

}  // namespace taviro::linux_input
