#pragma once
// Splitting of command strings and stored key lists: every separator splits,
// so neighbouring separators give empty parts and "" gives one empty part.
#include <string_view>
#include <vector>

namespace taviro {

std::vector<std::string_view> splitCommandText(std::string_view text, char separator);

}  // namespace taviro
