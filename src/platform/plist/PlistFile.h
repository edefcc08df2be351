#pragma once
// Property-list files: the user-defaults store's file, the replay tool's
// --settings file and the panel's exported settings. Reads XML and binary
// property lists; writes XML, atomically (temporary file, fsync, rename).
// Reading and writing keep to the same limits (PlistValues.h): what is
// written reads back unchanged, and a file that would not is refused.
#include <optional>
#include <string>
#include <string_view>

#include "foundation/Value.h"
#include "platform/plist/PlistValues.h"

namespace taviro {

// What went wrong reading a file.
enum class PlistReadStatus {
  Ok,
  Missing,
  // The system would not give the bytes (no permission, a symbolic-link loop,
  // a name too long, not a regular file): nothing is known about the content.
  Unreadable,
  // Read, but not a property list Taviro keeps: malformed, beyond the limits,
  // or holding a value it could not write back unchanged.
  Refused,
  NotADictionary,
};

struct PlistReadResult {
  PlistReadStatus status = PlistReadStatus::Ok;
  Value::Dict dictionary;
  std::string error;     // a readable reason when status is not Ok
  int systemError = 0;   // errno of an Unreadable file, when the system gave one
};

PlistReadResult readPlistDictionary(const std::string& path);

// Writes `dictionary` as an XML property list, creating missing parent
// folders. A symbolic link at `path` stays: the file it leads to is replaced.
// On failure the previous file is untouched and `error` says why.
bool writePlistDictionary(const std::string& path, const Value::Dict& dictionary,
                          std::string* error = nullptr);

// The file `path` leads to through symbolic links of its last component;
// nothing for a link loop.
std::optional<std::string> followLinks(const std::string& path);

// Property-list text: XML (after an optional byte-order mark and white
// space) or binary.
plist::Parsed parsePlist(std::string_view bytes);

}  // namespace taviro
