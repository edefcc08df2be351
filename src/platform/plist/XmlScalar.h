#pragma once
// The values of an XML property list's leaf elements from their text:
// string, integer, real, true, false, date and data.
#include <optional>
#include <string>
#include <string_view>

#include "foundation/Value.h"

namespace taviro::plist {

struct XmlScalar {
  std::optional<Value> value;
  std::string problem;   // when there is no value
  bool refused = false;  // well-formed, but beyond what a file may hold
};

XmlScalar readXmlScalar(std::string_view element, const std::string& text);

}  // namespace taviro::plist
