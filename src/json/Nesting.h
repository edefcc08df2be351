#pragma once
// The nesting bound shared by the reader and the writer.
#include "json/JSONKit.h"

namespace taviro::json {

static_assert(JKMaximumDepth == 512, "the message below names the bound");
inline constexpr const char* kNestingTooDeep =
    "Too deeply nested: more than 512 levels of arrays and objects.";

}  // namespace taviro::json
