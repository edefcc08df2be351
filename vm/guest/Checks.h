#pragma once
// Test verdicts on the serial console: one "VM-TEST <name> PASS|FAIL <detail>"
// line each, and "VM-RESULT PASS|FAIL" at the end, which the host reads.
#include <cstdio>
#include <string>

namespace taviro::vm {

class Checks {
 public:
  bool check(const char* name, bool ok, const std::string& detail = {}) {
    std::printf("VM-TEST %s %s%s%s\n", name, ok ? "PASS" : "FAIL", detail.empty() ? "" : " ",
                detail.c_str());
    std::fflush(stdout);
    failed_ = failed_ || !ok;
    return ok;
  }
  int finish() {
    std::printf("VM-RESULT %s\n", failed_ ? "FAIL" : "PASS");
    std::fflush(stdout);
    return failed_ ? 1 : 0;
  }

 private:
  bool failed_ = false;
};

}  // namespace taviro::vm
