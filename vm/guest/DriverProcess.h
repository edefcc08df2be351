#pragma once
// Running taviro-driver inside the test VM: start it with its standard error
// in a log file, wait for log lines, stop it.
#include <sys/types.h>

#include <string>
#include <vector>

namespace taviro::vm {

// Starts /bin/taviro-driver with `args`, its standard error going to `logPath`.
pid_t startDriver(const std::vector<std::string>& args, const std::string& logPath);
// SIGTERM, then waits up to `timeoutMs`; the wait status, or -1 when it did
// not end in time.
int stopDriver(pid_t driver, int timeoutMs);
std::string readFile(const std::string& path);
// Waits until the file holds every one of `texts`.
bool waitForLog(const std::string& path, const std::vector<std::string>& texts, int timeoutMs);

}  // namespace taviro::vm
