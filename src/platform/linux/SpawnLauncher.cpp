#include "platform/linux/SpawnLauncher.h"

#include <signal.h>
#include <sys/stat.h>
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

LaunchPlan planLaunch(const std::string& path, FileFacts facts, const std::string& opener) {
  const std::string argument = openerArgument(path);
  if (facts.regular && path.ends_with(".desktop"))
    return {.argv = {"gio", "launch", argument}, .helperPackage = "libglib2.0-bin"};
  if (facts.regular && facts.executable) {
    // A name without a '/' is a file in the working folder, not a program
    // that execv would look for anywhere else.
    const bool hasFolder = argument.find('/') != std::string::npos;
    return {.argv = {hasFolder ? argument : "./" + argument}, .fallback = {opener, argument}};
  }
  return {.argv = {opener, argument}, .helperPackage = "xdg-utils"};
}

namespace {

FileFacts factsOf(const std::string& path) {
  struct stat status {};
  const bool regular = ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
  return {.regular = regular, .executable = regular && access(path.c_str(), X_OK) == 0};
}

// execv's argument vector over `argv`'s strings, which must outlive it.
std::vector<char*> pointers(const std::vector<std::string>& argv) {
  std::vector<char*> result;
  for (const std::string& argument : argv) result.push_back(const_cast<char*>(argument.c_str()));
  result.push_back(nullptr);
  return result;
}

}  // namespace

void SpawnLauncher::openPath(const std::string& path) {
  LaunchPlan plan = planLaunch(path, factsOf(path), opener_);
  if (!plan.helperPackage.empty()) {
    const std::string exe = findProgram(plan.argv[0]);
    if (exe.empty()) {
      logBare("Cannot open %s: %s was not found (install %s).", path.c_str(), plan.argv[0].c_str(),
              plan.helperPackage.c_str());
      return;
    }
    plan.argv[0] = exe;
  }
  if (!plan.fallback.empty()) {
    plan.fallback[0] = findProgram(plan.fallback[0]);
    if (plan.fallback[0].empty()) plan.fallback.clear();
  }
  // Everything the children need is prepared before fork: between fork and
  // exec only async-signal-safe calls are made.
  const std::vector<char*> argv = pointers(plan.argv);
  const std::vector<char*> fallback = pointers(plan.fallback);
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
      execv(argv[0], argv.data());
      if (fallback[0] != nullptr) execv(fallback[0], fallback.data());
      _exit(127);
    }
    _exit(grandchild < 0 ? 1 : 0);
  }
  // Reaps the short-lived intermediate child only; the program is not waited for.
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace taviro::linux_input
