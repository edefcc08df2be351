#pragma once
// One replay: the driver started as its thread starts it, with no device,
// on the replay platform with `settings` (and `shortcuts`, a JSON shortcut
// document), fed every report of `input`; every effect is printed on `out`.
#include <cstdio>
#include <optional>
#include <string>

#include "ReplayInput.h"
#include "ReplayOptions.h"
#include "foundation/Value.h"

namespace taviro::replay {

void runReplay(const Options& o, const Value::Dict& settings,
               const std::optional<std::string>& shortcuts, const ParsedInput& input,
               std::FILE* out);

}  // namespace taviro::replay
