#pragma once
// Numbers in the writer's formats: integers in decimal, doubles exactly as
// printf's "%.17g" writes them, in any locale.
#include <cstdint>

namespace taviro::json {

// Room formatInteger() needs: 20 digits and a sign.
inline constexpr int kIntegerBufferSize = 21;

// Writes n in decimal and answers the end of what it wrote.
char* formatInteger(std::uint64_t n, char* out);
char* formatInteger(std::int64_t n, char* out);

// Room formatReal() needs: the text is at most 24 bytes, but pieces are
// copied in fixed sizes and may write up to 34.
inline constexpr int kRealBufferSize = 40;

// Writes a finite d exactly as snprintf(out, n, "%.17g", d) does in the C
// locale, and answers the end of what it wrote.
char* formatReal(double d, char* out);

}  // namespace taviro::json
