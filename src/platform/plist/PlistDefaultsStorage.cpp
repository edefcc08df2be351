#include "platform/plist/PlistDefaultsStorage.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "foundation/Log.h"
#include "platform/plist/PlistFile.h"

namespace taviro {

namespace {

constexpr int kAsideNames = 100;

// Renames the file to the first free "<file>.unreadable-<time>[-n]"; the
// reason when that cannot be done. Only names that are certainly free are
// used, and only a bounded number are tried.
std::optional<std::string> moveAside(const std::string& file, std::string& aside) {
  char stamp[32];
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &tm);
  const std::string base = file + ".unreadable-" + stamp;
  for (int n = 1; n <= kAsideNames; ++n) {
    aside = n == 1 ? base : base + "-" + std::to_string(n);
    struct stat st {};
    if (::lstat(aside.c_str(), &st) == 0) continue;
    if (errno != ENOENT) return std::strerror(errno);
    if (std::rename(file.c_str(), aside.c_str()) != 0) return std::strerror(errno);
    return std::nullopt;
  }
  return "no free name for it";
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
  switch (r.status) {
    case PlistReadStatus::Ok: return std::move(r.dictionary);
    case PlistReadStatus::Missing: return {};
    case PlistReadStatus::Unreadable: keepUnreadable(r); return {};
    case PlistReadStatus::Refused:
    case PlistReadStatus::NotADictionary: break;
  }
  // The content is not a settings file: moved aside, it is kept for the user
  // and a fresh one can be saved. A linked file is moved beside its target,
  // so that the link leads to the fresh one.
  const std::string file = followLinks(path_).value_or(path_);
  std::string aside;
  if (const auto why = moveAside(file, aside)) {
    keepOff_ = true;
    logBare("Settings file %s could not be read (%s) nor moved aside (%s); using the defaults "
            "and not saving settings, so that the file is kept",
            path_.c_str(), r.error.c_str(), why->c_str());
  } else {
    logBare("Settings file %s could not be read (%s); moved it to %s and using the defaults",
            path_.c_str(), r.error.c_str(), aside.c_str());
  }
  return {};
}

// The system would not give the file: its content may be fine, so it stays
// where it is and nothing is saved over it.
void PlistDefaultsStorage::keepUnreadable(const PlistReadResult& r) {
  keepOff_ = true;
  std::string fix;
  if (r.systemError == EACCES || r.systemError == EPERM) {
    const std::string dir = std::filesystem::path(path_).parent_path().string();
    fix = ". It may belong to another user (after a run with sudo); give it back with: sudo chown "
          "\"$USER\": '" + dir + "' '" + path_ + "'";
  }
  logBare("Settings file %s could not be read (%s); using the defaults and not saving settings, "
          "so that the file is kept%s",
          path_.c_str(), r.error.c_str(), fix.c_str());
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
