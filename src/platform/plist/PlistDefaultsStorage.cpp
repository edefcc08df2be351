#include "platform/plist/PlistDefaultsStorage.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "foundation/Log.h"
#include "platform/plist/PlistFile.h"

namespace taviro {

namespace {

// A free name next to `path` for a file that is moved aside.
std::string asideName(const std::string& path) {
  char stamp[32];
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &tm);
  const std::string base = path + ".unreadable-" + stamp;
  std::string candidate = base;
  std::error_code ec;
  for (int n = 1; std::filesystem::exists(candidate, ec) || ec; ++n)
    candidate = base + "-" + std::to_string(n);
  return candidate;
}

}  // namespace

PlistDefaultsStorage::PlistDefaultsStorage(std::string path) : path_(std::move(path)) {}

std::string PlistDefaultsStorage::defaultPath() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (xdg && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home ? home : ".") + "/.config";
  }
  return base + "/taviro/com.nivolt.Kestrom.plist";
}

Value::Dict PlistDefaultsStorage::load() {
  PlistReadResult r = readPlistDictionary(path_);
  if (r.status == PlistReadStatus::Ok) return std::move(r.dictionary);
  if (r.status == PlistReadStatus::Missing) return {};

  const std::string aside = asideName(path_);
  std::error_code ec;
  std::filesystem::rename(path_, aside, ec);
  if (ec) {
    keepOff_ = true;
    logBare("Settings file %s could not be read (%s) nor moved aside (%s); using the defaults "
            "and not saving settings, so that the file is kept",
            path_.c_str(), r.error.c_str(), ec.message().c_str());
  } else {
    logBare("Settings file %s could not be read (%s); moved it to %s and using the defaults",
            path_.c_str(), r.error.c_str(), aside.c_str());
  }
  return {};
}

bool PlistDefaultsStorage::save(const Value::Dict& domain) {
  if (keepOff_) {
    logBare("Not saving settings: %s could not be read and is kept as it is", path_.c_str());
    return false;
  }
  std::string error;
  if (writePlistDictionary(path_, domain, &error)) return true;
  logBare("Could not save settings to %s: %s", path_.c_str(), error.c_str());
  return false;
}

}  // namespace taviro
