#include "ReplayShortcuts.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "json/JSONKit.h"

namespace taviro::replay {

std::optional<std::string> readShortcutsFile(const std::string& path, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "cannot open shortcuts file " + path + ": " + std::strerror(errno);
    return std::nullopt;
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  JKError parseError;
  const auto document = objectFromJSONStringWithParseOptions(text, JKParseOptionLooseUnicode,
                                                             &parseError);
  if (!document) {
    *error = "shortcuts file " + path + " is not JSON: " + parseError.localizedDescription +
             " (line " + std::to_string(parseError.lineNumber.value_or(0)) + ")";
    return std::nullopt;
  }
  if (!document->isDict()) {
    *error = "shortcuts file " + path + " is not a JSON object";
    return std::nullopt;
  }
  return text;
}

ReplayShortcuts::ReplayShortcuts(ReplayPlatform& platform, std::FILE* out) {
  if (!platform.defaults.objectForKey(kShortcutSettingsKey)) return;
  // The text is in the settings, so the default file is never read.
  store_ = std::make_unique<Configure>(platform.defaults, std::filesystem::path());
  transcript_ = std::make_unique<ShortcutTranscript>(
      [out](const std::string& line) { std::fprintf(out, "%s\n", line.c_str()); });
  transcript_->observe(platform.notifications);
  emulator_ = std::make_unique<InputEmulator>(*transcript_, *transcript_, platform.notifications);
  platform.shortcutLookup = store_.get();
  platform.shortcutStore = store_.get();
  platform.runner.next = emulator_.get();
}

}  // namespace taviro::replay
