// Feeds arbitrary text to the replay tool's input parser and to its
// --displays and --pointer values. A parse must be faithful: the reports
// written back as hexadecimal lines parse to the same bytes, every report
// holds 8 to 64 bytes, line numbers are in order and within the text, and a
// refused input names a line of it and says why; a display list holds only
// displays of positive, finite size.
#include <algorithm>
#include <cmath>
#include <sstream>

#include "../FuzzCheck.h"
#include "ReplayInput.h"
#include "ReplayOptions.h"

namespace {

using namespace taviro::replay;

[[noreturn]] void fault(const std::string& what) { taviro::fuzz::fault("fuzz_replay", what); }

std::string hexLine(const std::vector<std::uint8_t>& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string line;
  for (std::uint8_t b : bytes) line += {kDigits[b >> 4], kDigits[b & 0xF], ' '};
  return line;
}

void checkReports(const std::string& text) {
  std::istringstream in(text);
  const ParsedInput parsed = parseReports(in);
  const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
  if (parsed.error) {
    if (!parsed.reports.empty()) fault("reports kept next to an error");
    if (parsed.error->line < 1 || parsed.error->line > lines) fault("an error on a line not in the text");
    if (parsed.error->message.empty()) fault("an error without a message");
    return;
  }
  std::string again;
  int previous = 0;
  for (const RecordedReport& r : parsed.reports) {
    if (r.bytes.size() < 8 || r.bytes.size() > 64) fault(std::to_string(r.bytes.size()) + " bytes in a report");
    if (r.line <= previous || r.line > lines) fault("a report on a line out of order");
    previous = r.line;
    again += "0.5: " + hexLine(r.bytes) + "\n";
  }
  std::istringstream rewritten(again);
  const ParsedInput reparsed = parseReports(rewritten);
  if (reparsed.error || reparsed.reports.size() != parsed.reports.size())
    fault("the reports written back do not parse");
  for (std::size_t i = 0; i < parsed.reports.size(); ++i)
    if (reparsed.reports[i].bytes != parsed.reports[i].bytes) fault("the reports written back parse to other bytes");
}

void checkDisplays(const std::string& text) {
  if (const auto displays = parseDisplays(text)) {
    if (displays->empty()) fault("an empty display list");
    for (const taviro::Rect& d : *displays)
      if (!(d.size.width > 0) || !(d.size.height > 0) || !std::isfinite(d.size.width) ||
          !std::isfinite(d.size.height) || !std::isfinite(d.origin.x) || !std::isfinite(d.origin.y))
        fault("a display of no or endless size: " + text);
  }
  if (const auto p = parsePoint(text); p && (!std::isfinite(p->x) || !std::isfinite(p->y)))
    fault("a point out of range: " + text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  checkReports(text);
  checkDisplays(text);
  return 0;
}
