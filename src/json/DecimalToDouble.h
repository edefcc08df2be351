#pragma once
// The double nearest to a decimal number, quickly, for the reader's common
// case; what it cannot settle is left to std::from_chars.
#include <cstdint>

namespace taviro::json {

// Sets `out` to the double nearest to w * 10^q (ties to even), negated when
// `negative`, and answers true; answers false, leaving `out` alone, when the
// result is zero, subnormal or infinite or lies too close to the midpoint of
// two doubles to decide here.
bool decimalToDouble(std::uint64_t w, int q, bool negative, double& out);

}  // namespace taviro::json
