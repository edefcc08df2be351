#pragma once
// Describes parsed trees with their number kinds, so that expectations can say
// uint:5 or real:-0: null, true, false, int:-5, uint:5, real:%.17g, "text"
// (bytes outside printable ASCII as \xHH), [a, b], {"k": v}.
#include <cstdio>
#include <ostream>
#include <string>

#include "foundation/Value.h"

namespace taviro::testing {

inline std::string describeString(const std::string& s) {
  std::string out = "\"";
  for (const unsigned char c : s) {
    char hex[5];
    std::snprintf(hex, sizeof hex, "\\x%02x", c);
    if (c == '"' || c == '\\') out += '\\';
    out += (c >= 0x20 && c < 0x7F) ? std::string(1, static_cast<char>(c)) : hex;
  }
  return out + '"';
}

inline std::string describe(const Value& value) {
  char real[40];
  std::string out;
  switch (value.type()) {
    case Value::Type::Null: return "null";
    case Value::Type::Bool: return *value.asBool() ? "true" : "false";
    case Value::Type::Int: return "int:" + std::to_string(*value.asInt());
    case Value::Type::UInt: return "uint:" + std::to_string(*value.asUInt());
    case Value::Type::Real:
      std::snprintf(real, sizeof real, "real:%.17g", *value.asReal());
      return real;
    case Value::Type::String: return describeString(*value.asString());
    case Value::Type::Array:
      for (const Value& element : *value.asArray())
        out += (out.empty() ? "" : ", ") + describe(element);
      return "[" + out + "]";
    case Value::Type::Dict:
      for (const auto& [key, member] : *value.asDict())
        out += (out.empty() ? "" : ", ") + describeString(key) + ": " + describe(member);
      return "{" + out + "}";
    default: return "<other>";
  }
}

}  // namespace taviro::testing

namespace taviro {
// Lets gtest print trees in failure messages.
inline void PrintTo(const Value& value, std::ostream* out) { *out << testing::describe(value); }
}  // namespace taviro
