// taviro-replay: feeds recorded tablet reports through the driver core and
// prints every effect (posted events, pressure notifications, shortcut
// hand-offs and, given shortcuts, what the command executor does) on standard
// output, one line each. Log lines go to stderr.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>

#include "ReplayInput.h"
#include "ReplayOptions.h"
#include "ReplayRun.h"
#include "ReplayShortcuts.h"
#include "platform/plist/PlistFile.h"

using namespace taviro;
using namespace taviro::replay;

namespace {

constexpr int kBadInput = 2;

int fail(const std::string& message) {
  std::fprintf(stderr, "taviro-replay: %s\n", message.c_str());
  return kBadInput;
}

// Reads and checks the whole input before anything runs, so that a bad line
// prints nothing but its error.
std::optional<ParsedInput> readInput(const Options& o, std::string* error) {
  if (!o.reportsFile) return parseReports(std::cin);
  std::ifstream file(*o.reportsFile);
  if (!file) {
    *error = "cannot open " + *o.reportsFile + ": " + std::strerror(errno);
    return std::nullopt;
  }
  return parseReports(file);
}

}  // namespace

int main(int argc, char** argv) {
  const ParsedOptions parsed = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (parsed.error) {
    std::fprintf(stderr, "taviro-replay: %s\n%s\n", parsed.error->c_str(), kUsage);
    return kBadInput;
  }
  const Options& o = parsed.options;
  if (o.help) {
    std::printf("%s\n", kUsage);
    return 0;
  }

  Value::Dict settings;
  if (o.settingsFile) {
    PlistReadResult r = readPlistDictionary(*o.settingsFile);
    if (r.status != PlistReadStatus::Ok)
      return fail("cannot read settings file " + *o.settingsFile + ": " + r.error);
    settings = std::move(r.dictionary);
  }

  std::string error;
  std::optional<std::string> shortcuts;
  if (o.shortcutsFile) {
    shortcuts = readShortcutsFile(*o.shortcutsFile, &error);
    if (!shortcuts) return fail(error);
  }

  const std::optional<ParsedInput> input = readInput(o, &error);
  if (!input) return fail(error);
  if (input->error) {
    const std::string name = o.reportsFile ? *o.reportsFile : "standard input";
    return fail(name + ":" + std::to_string(input->error->line) + ": " + input->error->message);
  }
  runReplay(o, settings, shortcuts, *input, stdout);
  return 0;
}
