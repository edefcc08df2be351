#pragma once
// Doubles in the writer's format, printf's "%.17g", exactly and in any
// locale.

namespace taviro::json {

// Room formatReal() needs: the text is at most 24 bytes, but pieces are
// copied in fixed sizes and may write up to 34.
inline constexpr int kRealBufferSize = 40;

// Writes a finite d exactly as snprintf(out, n, "%.17g", d) does in the C
// locale, and answers the end of what it wrote.
char* formatReal(double d, char* out);

}  // namespace taviro::json
