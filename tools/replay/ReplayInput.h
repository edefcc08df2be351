#pragma once
// The replay tool's input: one report per line, 8 to 64 hexadecimal byte
// pairs separated by blanks, report ID first, optionally preceded by a time
// stamp in seconds and a colon ("0.004125: 08 C1 ..."). Blank lines and
// lines starting with '#' are skipped.
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace taviro::replay {

struct RecordedReport {
  int line = 0;
  std::vector<std::uint8_t> bytes;
};

struct InputError {
  int line = 0;
  std::string message;
};

// One line: a report, nothing (skipped line), or the reason it is malformed.
struct ParsedLine {
  std::optional<std::vector<std::uint8_t>> report;
  std::optional<std::string> error;
};
ParsedLine parseReportLine(std::string_view line);

// The whole input, or the first malformed line.
struct ParsedInput {
  std::vector<RecordedReport> reports;
  std::optional<InputError> error;
};
ParsedInput parseReports(std::istream& in);

}  // namespace taviro::replay
