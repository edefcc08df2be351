#pragma once
// The user-defaults store's persistent domain in a property-list file,
// $XDG_CONFIG_HOME/taviro/com.nivolt.Kestrom.plist (~/.config when unset).
// A file that cannot be read is moved aside, never written over.
#include <string>

#include "foundation/DefaultsStorage.h"

namespace taviro {

class PlistDefaultsStorage : public DefaultsStorage {
 public:
  explicit PlistDefaultsStorage(std::string path = defaultPath());

  static std::string defaultPath();

  Value::Dict load() override;
  bool save(const Value::Dict& domain) override;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  // Set when an unreadable file could not be moved aside: saving would
  // destroy it, so nothing is saved.
  bool keepOff_ = false;
};

}  // namespace taviro
