#include "ReportRecorder.h"

namespace taviro {

std::string formatReportLine(double seconds, const std::uint8_t* report, std::size_t length) {
  char head[32];
  std::snprintf(head, sizeof head, "%.6f:", seconds);
  std::string line = head;
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (std::size_t i = 0; i < length; ++i) {
    line += ' ';
    line += kHex[report[i] >> 4];
    line += kHex[report[i] & 0xF];
  }
  return line;
}

ReportRecorder::~ReportRecorder() { close(); }

bool ReportRecorder::open(const std::string& path) {
  // "e": close-on-exec, or every program a shortcut starts would hold it open.
  file_ = std::fopen(path.c_str(), "we");
  return file_ != nullptr;
}

void ReportRecorder::record(const std::uint8_t* report, std::size_t length) {
  if (!file_) return;
  const auto now = std::chrono::steady_clock::now();
  if (!start_) start_ = now;
  const double seconds = std::chrono::duration<double>(now - *start_).count();
  const std::string line = formatReportLine(seconds, report, length);
  std::fprintf(file_, "%s\n", line.c_str());
}

void ReportRecorder::close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

}  // namespace taviro
