#include "platform/linux/PkexecExecutor.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "foundation/Log.h"
#include "platform/linux/SpawnLauncher.h"

namespace taviro::linux_input {
namespace {

class Descriptor final : public OutputHandle {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() override { ::close(fd_); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int fileDescriptor() const override { return fd_; }

 private:
  int fd_;
};

// posix_spawn's set-up of the child: standard output into the pipe, the
// working folder changed in the child only, and no signal blocked (the mask
// would survive exec).
struct SpawnSetup {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;

  SpawnSetup(int outputFd, const std::string& folder) {
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
    if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
  }
  ~SpawnSetup() {
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;
};

}  // namespace

PrivilegedStart PkexecExecutor::execute(const std::string& tool,
                                        const std::vector<std::string>& arguments,
                                        const std::string& workingFolder) {
  const std::string pkexec = findProgram(program_);
  if (pkexec.empty()) {
    logBare("Cannot ask for administrator's rights: %s was not found (install pkexec)",
            program_.c_str());
    return {.status = ENOENT};
  }
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return {.status = errno};
  // The child gets its own copy of the write end through dup2, which clears
  // close-on-exec; the parent keeps only the read end.
  std::vector<char*> argv{const_cast<char*>(pkexec.c_str()), const_cast<char*>(tool.c_str())};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  int status = 0;
  {
    const SpawnSetup setup(pipeFds[1], workingFolder);
    status =
        posix_spawn(&pid, pkexec.c_str(), &setup.actions, &setup.attributes, argv.data(), environ);
  }
  ::close(pipeFds[1]);
  if (status != 0) {
    ::close(pipeFds[0]);
    logBare("Cannot start %s in %s: %s", pkexec.c_str(), workingFolder.c_str(),
            std::strerror(status));
    return {.status = status};
  }
  return {.status = 0, .pid = pid, .output = std::make_shared<Descriptor>(pipeFds[0])};
}

WaitResult PkexecExecutor::wait(int pid, bool block) {
  WaitResult result;
  do {
    result.result = waitpid(pid, &result.status, block ? 0 : WNOHANG);
  } while (result.result < 0 && errno == EINTR);
  return result;
}

std::string PkexecExecutor::currentFolder() const {
  std::error_code error;
  return std::filesystem::current_path(error).string();
}

std::optional<std::string> PkexecExecutor::refusal(int waitStatus) const {
  if (!WIFEXITED(waitStatus)) return std::nullopt;
  switch (WEXITSTATUS(waitStatus)) {
    case 126:
      return "the authentication dialog was dismissed (pkexec exit status 126)";
    case 127:
      return "not authorised, or no authentication agent could ask (pkexec exit status 127)";
    default:
      return std::nullopt;
  }
}

}  // namespace taviro::linux_input
