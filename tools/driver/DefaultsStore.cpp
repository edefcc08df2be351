#include "DefaultsStore.h"

#include "foundation/Log.h"

namespace taviro {

std::unique_ptr<DefaultsStorage> makeDefaultsStorage() {
  logBare("taviro-driver: no settings file support in this build; using the default settings");
  return nullptr;
}

}  // namespace taviro
