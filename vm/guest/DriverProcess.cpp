#include "DriverProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

namespace taviro::vm {

pid_t startDriver(const std::vector<std::string>& args, const std::string& logPath) {
  const pid_t pid = fork();
  if (pid == 0) {
    const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(log, 2);
    std::vector<char*> argv{const_cast<char*>("taviro-driver")};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv("/bin/taviro-driver", argv.data());
    _exit(127);
  }
  return pid;
}

int stopDriver(pid_t driver, int timeoutMs) {
  kill(driver, SIGTERM);
  int status = -1;
  for (int waited = 0; waitpid(driver, &status, WNOHANG) == 0; waited += 50) {
    if (waited >= timeoutMs) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return status;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool waitForLog(const std::string& path, const std::vector<std::string>& texts, int timeoutMs) {
  for (int waited = 0;; waited += 50) {
    const std::string log = readFile(path);
    bool all = true;
    for (const std::string& t : texts) all = all && log.find(t) != std::string::npos;
    if (all || waited >= timeoutMs) return all;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

}  // namespace taviro::vm
