#pragma once
// Loading the case files under tests/json/cases and describing parsed trees
// with their number kinds, so that expectations can say uint:5 or real:-0.
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "foundation/Value.h"

namespace taviro::testing {

std::filesystem::path jsonCasesDir();

// The files with extension `ext` in cases/<folder>, sorted by name.
std::vector<std::filesystem::path> caseFiles(const std::string& folder, const std::string& ext);

std::string readFile(const std::filesystem::path& path);

// "key value" lines of a sidecar file; the value is the rest of the line.
std::string sidecarField(const std::string& sidecar, const std::string& key);

// null, true, false, int:-5, uint:5, real:%.17g, "text" (bytes outside
// printable ASCII as \xHH), [a, b], {"k": v}.
std::string describe(const Value& value);

}  // namespace taviro::testing

namespace taviro {
// Lets gtest print trees in failure messages.
inline void PrintTo(const Value& value, std::ostream* out) { *out << testing::describe(value); }
}  // namespace taviro
