#pragma once
// The user-defaults store's persistent domain in a property-list file,
// $XDG_CONFIG_HOME/taviro/com.nivolt.Kestrom.plist (~/.config when unset).
// A file whose content is refused is moved aside; one the system will not
// give (no permission, a link loop) stays where it is. Either way it is never
// written over: without a free name to move it to, nothing is saved.
#include <string>

#include "foundation/DefaultsStorage.h"
#include "platform/plist/PlistFile.h"

namespace taviro {

class PlistDefaultsStorage : public DefaultsStorage {
 public:
  explicit PlistDefaultsStorage(std::string path = defaultPath());

  static std::string defaultPath();

  Value::Dict load() override;
  bool save(const Value::Dict& domain) override;
  const std::string& path() const { return path_; }

 private:
  void keepUnreadable(const PlistReadResult& r);

  std::string path_;
  // Set when a file could not be read and stays where it is: saving would
  // destroy it, so nothing is saved.
  bool keepOff_ = false;
};

}  // namespace taviro
