#pragma once
// Writes every raw report with its time (seconds since the first report, to
// the microsecond) in the form taviro-replay reads: "0.004125: 08 C1 ...".
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace taviro {

class ReportRecorder {
 public:
  ReportRecorder() = default;
  ~ReportRecorder();
  ReportRecorder(const ReportRecorder&) = delete;
  ReportRecorder& operator=(const ReportRecorder&) = delete;

  bool open(const std::string& path);
  // One line; called on the driver thread.
  void record(const std::uint8_t* report, std::size_t length);
  void close();

 private:
  std::FILE* file_ = nullptr;
  std::optional<std::chrono::steady_clock::time_point> start_;
};

// The line for one report (without the newline).
std::string formatReportLine(double seconds, const std::uint8_t* report, std::size_t length);

}  // namespace taviro
