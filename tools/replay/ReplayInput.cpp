#include "ReplayInput.h"

namespace taviro::replay {

namespace {

constexpr std::size_t kMinBytes = 8;
// What hidraw hands over (and taviro-driver --record writes): up to 64 bytes.
constexpr std::size_t kMaxBytes = 64;

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (isBlank(s.front()) || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (isBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// A time stamp: digits, optionally a point and more digits.
bool isTimeStamp(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && isDigit(s[i])) ++i;
  if (i == 0) return false;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && isDigit(s[i])) ++i;
  }
  return i == s.size();
}

}  // namespace

ParsedLine parseReportLine(std::string_view line) {
  ParsedLine out;
  line = trim(line);
  if (line.empty() || line.front() == '#') return out;

  if (const std::size_t colon = line.find(':'); colon != std::string_view::npos) {
    const std::string_view stamp = trim(line.substr(0, colon));
    if (!isTimeStamp(stamp)) {
      out.error = "bad time stamp \"" + std::string(stamp) + "\" (expected seconds, e.g. 0.004125)";
      return out;
    }
    line = trim(line.substr(colon + 1));
  }

  std::vector<std::uint8_t> bytes;
  std::size_t i = 0;
  while (i < line.size()) {
    std::size_t end = i;
    while (end < line.size() && !isBlank(line[end])) ++end;
    const std::string_view token = line.substr(i, end - i);
    const int hi = token.size() == 2 ? hexValue(token[0]) : -1;
    const int lo = token.size() == 2 ? hexValue(token[1]) : -1;
    if (hi < 0 || lo < 0) {
      out.error = "\"" + std::string(token) + "\" is not a hexadecimal byte pair";
      return out;
    }
    bytes.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    i = end;
    while (i < line.size() && isBlank(line[i])) ++i;
  }
  if (bytes.size() < kMinBytes || bytes.size() > kMaxBytes) {
    out.error = "expected 8 to 64 byte pairs, found " + std::to_string(bytes.size());
    return out;
  }
  out.report = std::move(bytes);
  return out;
}

ParsedInput parseReports(std::istream& in) {
  ParsedInput out;
  std::string text;
  int number = 0;
  while (std::getline(in, text)) {
    ++number;
    ParsedLine parsed = parseReportLine(text);
    if (parsed.error) {
      out.reports.clear();
      out.error = InputError{number, *parsed.error};
      return out;
    }
    if (parsed.report) out.reports.push_back({number, std::move(*parsed.report)});
  }
  return out;
}

}  // namespace taviro::replay
