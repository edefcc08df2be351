#pragma once
// Property-list files: the user-defaults store's file, the replay tool's
// --settings file and the panel's exported settings. Reads XML and binary
// property lists; writes XML, atomically (temporary file, fsync, rename).
#include <optional>
#include <string>

#include "foundation/Value.h"

namespace taviro {

// What went wrong reading a file.
enum class PlistReadStatus { Ok, Missing, Unreadable, NotAPropertyList, NotADictionary };

struct PlistReadResult {
  PlistReadStatus status = PlistReadStatus::Ok;
  Value::Dict dictionary;
  std::string error;  // a readable reason when status is not Ok
};

PlistReadResult readPlistDictionary(const std::string& path);

// Writes `dictionary` as an XML property list, creating missing parent
// folders. On failure the previous file is untouched and `error` says why.
bool writePlistDictionary(const std::string& path, const Value::Dict& dictionary,
                          std::string* error = nullptr);

// Conversions to and from property-list text (XML out; XML or binary in).
std::string plistXml(const Value::Dict& dictionary);
std::optional<Value> parsePlist(const std::string& bytes);

}  // namespace taviro
