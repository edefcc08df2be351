#pragma once
// Where the headless driver's user defaults persist: the same property-list
// file the desktop application uses.
#include <memory>

#include "foundation/DefaultsStorage.h"

namespace taviro {

std::unique_ptr<DefaultsStorage> makeDefaultsStorage();

}  // namespace taviro
