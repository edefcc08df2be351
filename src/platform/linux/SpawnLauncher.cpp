#include "platform/linux/SpawnLauncher.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "foundation/Log.h"

namespace taviro::linux_input {

std::string findProgram(const std::string& program) {
  if (program.find('/') != std::string::npos)
    return access(program.c_str(), X_OK) == 0 ? program : std::string{};
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path ? path : "/usr/local/bin:/usr/bin:/bin");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    if (dir.empty()) continue;
    const std::string candidate = dir + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

std::string openerArgument(const std::string& path) {
  return path.starts_with('-') ? "./" + path : path;
}

void SpawnLauncher::openPath(const std::string& path) {
  const std::string exe = findProgram(program_);
  if (exe.empty()) {
    logBare("Cannot open %s: %s was not found (install xdg-utils).", path.c_str(),
            program_.c_str());
    return;
  }
  // Everything the children need is prepared before fork: between fork and
  // exec only async-signal-safe calls are made.
  const std::string argument = openerArgument(path);
  char* const argv[] = {const_cast<char*>(exe.c_str()), const_cast<char*>(argument.c_str()),
                        nullptr};
  sigset_t noSignals;
  sigemptyset(&noSignals);
  const pid_t child = fork();
  if (child < 0) {
    logBare("Cannot open %s: fork failed (%s).", path.c_str(), std::strerror(errno));
    return;
  }
  if (child == 0) {
    setsid();
    const pid_t grandchild = fork();
    if (grandchild == 0) {
      // The signal mask survives exec: a caller that blocks SIGTERM and
      // SIGINT for its own signal thread (taviro-driver) would otherwise
      // start programs that cannot be stopped with them.
      sigprocmask(SIG_SETMASK, &noSignals, nullptr);
      execv(argv[0], argv);
      _exit(127);
    }
    _exit(grandchild < 0 ? 1 : 0);
  }
  // Reaps the short-lived intermediate child only; the opener is not waited for.
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace taviro::linux_input
