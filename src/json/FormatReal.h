#pragma once
// Doubles in the writer's format, printf's "%.17g", exactly and in any
// locale.

namespace taviro::json {

// Room formatReal() may need.
inline constexpr int kRealBufferSize = 32;

// Writes a finite d exactly as snprintf(out, n, "%.17g", d) does in the C
// locale, and answers the end of what it wrote.
char* formatReal(double d, char* out);

}  // namespace taviro::json
