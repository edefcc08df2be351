#include "platform/plist/PlistFile.h"

#include <fcntl.h>
#include <plist/plist.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace taviro {

namespace {

// Seconds between the Unix epoch and the property-list epoch (2001-01-01).
constexpr double kPlistEpoch = 978307200.0;
constexpr std::uintmax_t kMaxFileSize = 64u << 20;

struct PlistFree {
  void operator()(plist_t p) const { plist_free(p); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

plist_t toPlist(const Value& v) {
  switch (v.type()) {
    case Value::Type::Null: return nullptr;
    case Value::Type::Bool: return plist_new_bool(*v.asBool() ? 1 : 0);
    case Value::Type::Int: return plist_new_uint(static_cast<std::uint64_t>(*v.asInt()));
    case Value::Type::UInt: return plist_new_uint(*v.asUInt());
    case Value::Type::Real: return plist_new_real(*v.asReal());
    case Value::Type::String: return plist_new_string(v.asString()->c_str());
    case Value::Type::Data: {
      const auto& bytes = v.asData()->bytes;
      return plist_new_data(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    case Value::Type::Date: {
      const double t = v.asDate()->secondsSince1970 - kPlistEpoch;
      const double whole = std::trunc(t);
      return plist_new_date(static_cast<std::int32_t>(whole),
                            static_cast<std::int32_t>((t - whole) * 1e6));
    }
    case Value::Type::Array: {
      plist_t a = plist_new_array();
      for (const Value& item : *v.asArray())
        if (plist_t p = toPlist(item)) plist_array_append_item(a, p);
      return a;
    }
    case Value::Type::Dict: {
      plist_t d = plist_new_dict();
      for (const auto& [key, item] : *v.asDict())
        if (plist_t p = toPlist(item)) plist_dict_set_item(d, key.c_str(), p);
      return d;
    }
  }
  return nullptr;
}

Value fromPlist(plist_t p) {
  switch (plist_get_node_type(p)) {
    case PLIST_BOOLEAN: {
      std::uint8_t b = 0;
      plist_get_bool_val(p, &b);
      return Value(b != 0);
    }
    case PLIST_UINT: {
      // libplist keeps every integer as 64 bits; negative numbers come back
      // in two's complement.
      std::uint64_t u = 0;
      plist_get_uint_val(p, &u);
      return Value(static_cast<std::int64_t>(u));
    }
    case PLIST_REAL: {
      double d = 0;
      plist_get_real_val(p, &d);
      return Value(d);
    }
    case PLIST_STRING: {
      std::uint64_t n = 0;
      const char* s = plist_get_string_ptr(p, &n);
      return Value(std::string(s ? s : "", s ? n : 0));
    }
    case PLIST_DATA: {
      std::uint64_t n = 0;
      const char* s = plist_get_data_ptr(p, &n);
      Value::Data data;
      if (s) data.bytes.assign(s, s + n);
      return Value(std::move(data));
    }
    case PLIST_DATE: {
      std::int32_t sec = 0, usec = 0;
      plist_get_date_val(p, &sec, &usec);
      return Value(Value::Date{kPlistEpoch + sec + usec / 1e6});
    }
    case PLIST_ARRAY: {
      Value::Array a;
      const std::uint32_t n = plist_array_get_size(p);
      for (std::uint32_t i = 0; i < n; ++i) {
        Value item = fromPlist(plist_array_get_item(p, i));
        if (!item.isNull()) a.push_back(std::move(item));
      }
      return Value(std::move(a));
    }
    case PLIST_DICT: {
      Value::Dict d;
      plist_dict_iter it = nullptr;
      plist_dict_new_iter(p, &it);
      for (;;) {
        char* key = nullptr;
        plist_t item = nullptr;
        plist_dict_next_item(p, it, &key, &item);
        if (!item) {
          std::free(key);
          break;
        }
        Value v = fromPlist(item);
        if (key && !v.isNull()) d.insert_or_assign(key, std::move(v));
        std::free(key);
      }
      std::free(it);
      return Value(std::move(d));
    }
    default: return Value();
  }
}

std::string errnoText() { return std::strerror(errno); }

}  // namespace

std::string plistXml(const Value::Dict& dictionary) {
  PlistPtr root(toPlist(Value(dictionary)));
  char* xml = nullptr;
  std::uint32_t length = 0;
  plist_to_xml(root.get(), &xml, &length);
  std::string out(xml ? xml : "", xml ? length : 0);
  plist_to_xml_free(xml);
  return out;
}

std::optional<Value> parsePlist(const std::string& bytes) {
  if (bytes.empty() || bytes.size() > kMaxFileSize) return std::nullopt;
  plist_t root = nullptr;
  plist_from_memory(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &root);
  if (!root) return std::nullopt;
  PlistPtr owned(root);
  return fromPlist(root);
}

PlistReadResult readPlistDictionary(const std::string& path) {
  PlistReadResult r;
  std::error_code ec;
  if (!std::filesystem::exists(path, ec) && !ec) {
    r.status = PlistReadStatus::Missing;
    r.error = "no such file";
    return r;
  }
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec || size > kMaxFileSize) {
    r.status = PlistReadStatus::Unreadable;
    r.error = ec ? ec.message() : "file too large";
    return r;
  }
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  if (!in || !(content << in.rdbuf())) {
    r.status = PlistReadStatus::Unreadable;
    r.error = in ? "read error" : errnoText();
    return r;
  }
  std::optional<Value> v = parsePlist(content.str());
  if (!v) {
    r.status = PlistReadStatus::NotAPropertyList;
    r.error = "not a property list";
    return r;
  }
  if (!v->isDict()) {
    r.status = PlistReadStatus::NotADictionary;
    r.error = "the property list is not a dictionary";
    return r;
  }
  r.dictionary = std::move(*v->asDict());
  return r;
}

bool writePlistDictionary(const std::string& path, const Value::Dict& dictionary,
                          std::string* error) {
  const auto fail = [error](std::string why) {
    if (error) *error = std::move(why);
    return false;
  };
  const std::filesystem::path target(path);
  const std::filesystem::path dir = target.has_parent_path() ? target.parent_path() : ".";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) return fail("cannot create " + dir.string() + ": " + ec.message());

  const std::string xml = plistXml(dictionary);
  std::string temp = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
  const int fd = mkstemp(temp.data());
  if (fd < 0) return fail("cannot create a temporary file in " + dir.string() + ": " + errnoText());
  fchmod(fd, 0600);
  const auto abandon = [&](std::string why) {
    ::close(fd);
    ::unlink(temp.c_str());
    return fail(std::move(why));
  };
  std::size_t written = 0;
  while (written < xml.size()) {
    const ssize_t n = ::write(fd, xml.data() + written, xml.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      return abandon("cannot write " + temp + ": " + errnoText());
    }
    written += static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0) return abandon("cannot flush " + temp + ": " + errnoText());
  if (::close(fd) != 0) {
    ::unlink(temp.c_str());
    return fail("cannot close " + temp + ": " + errnoText());
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const std::string why = errnoText();
    ::unlink(temp.c_str());
    return fail("cannot replace " + path + ": " + why);
  }
  // Make the rename itself durable.
  if (const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY); dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

}  // namespace taviro
