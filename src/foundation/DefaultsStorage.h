#pragma once
// Where the user-defaults store keeps its persistent domain. The Linux
// realisation is a property-list file; tests use an in-memory one.
#include "foundation/Value.h"

namespace taviro {

class DefaultsStorage {
 public:
  virtual ~DefaultsStorage() = default;
  // The stored domain. Storage that cannot be read must not be written over
  // later: the realisation moves it aside or leaves it alone (and then saves
  // nothing), reports why, and answers empty.
  virtual Value::Dict load() = 0;
  // Replaces the stored domain as a whole (atomically); false on failure.
  virtual bool save(const Value::Dict& domain) = 0;
};

}  // namespace taviro
