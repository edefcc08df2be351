#include "CaseFiles.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace taviro::testing {

std::filesystem::path jsonCasesDir() { return TAVIRO_JSON_CASES_DIR; }

std::vector<std::filesystem::path> caseFiles(const std::string& folder, const std::string& ext) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(jsonCasesDir() / folder))
    if (entry.path().extension() == ext) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string sidecarField(const std::string& sidecar, const std::string& key) {
  std::istringstream lines(sidecar);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind(key + " ", 0) == 0) return line.substr(key.size() + 1);
  return {};
}

namespace {

void describeString(const std::string& s, std::string& out) {
  out += '"';
  for (const unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    }
  }
  out += '"';
}

void describeInto(const Value& value, std::string& out) {
  char number[40];
  switch (value.type()) {
    case Value::Type::Null: out += "null"; break;
    case Value::Type::Bool: out += *value.asBool() ? "true" : "false"; break;
    case Value::Type::Int: out += "int:" + std::to_string(*value.asInt()); break;
    case Value::Type::UInt: out += "uint:" + std::to_string(*value.asUInt()); break;
    case Value::Type::Real:
      std::snprintf(number, sizeof number, "real:%.17g", *value.asReal());
      out += number;
      break;
    case Value::Type::String: describeString(*value.asString(), out); break;
    case Value::Type::Array: {
      out += '[';
      const char* separator = "";
      for (const Value& element : *value.asArray()) {
        out += separator;
        describeInto(element, out);
        separator = ", ";
      }
      out += ']';
      break;
    }
    case Value::Type::Dict: {
      out += '{';
      const char* separator = "";
      for (const auto& [key, member] : *value.asDict()) {
        out += separator;
        describeString(key, out);
        out += ": ";
        describeInto(member, out);
        separator = ", ";
      }
      out += '}';
      break;
    }
    default: out += "<other>"; break;
  }
}

}  // namespace

std::string describe(const Value& value) {
  std::string out;
  describeInto(value, out);
  return out;
}

}  // namespace taviro::testing
