// Writes a value as an XML property list in the layout of the system's own
// writer (tab-indented, empty containers as <dict/> and <array/>). Every
// number is written so that it reads back bit for bit: integers with their
// sign or above 2^63, reals with the shortest digits that round-trip, dates
// with the fraction of a second when they have one.
#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/plist/PlistValues.h"

namespace taviro::plist {

namespace {

class XmlWriter {
 public:
  bool write(const Value& v, int depth) {
    if (++values_ > kMaxValues) return fail(kTooManyValues);
    switch (v.type()) {
      case Value::Type::Null: return fail("an empty (null) value");
      case Value::Type::Bool: return line(*v.asBool() ? "<true/>" : "<false/>", depth);
      case Value::Type::Int: return element("integer", std::to_string(*v.asInt()), depth);
      case Value::Type::UInt: return element("integer", std::to_string(*v.asUInt()), depth);
      case Value::Type::Real: return element("real", real(*v.asReal()), depth);
      case Value::Type::String: return text("string", *v.asString(), depth);
      case Value::Type::Data: return element("data", base64(v.asData()->bytes), depth);
      case Value::Type::Date: return date(v.asDate()->secondsSince1970, depth);
      case Value::Type::Array: return array(*v.asArray(), depth);
      case Value::Type::Dict: return dict(*v.asDict(), depth);
    }
    return fail("an unknown value");
  }

  bool root(const Value::Dict& members) {
    ++values_;
    return dict(members, 0);
  }

  std::string out;
  std::string error;

 private:
  bool fail(std::string why) {
    error = std::move(why);
    return false;
  }

  void indent(int depth) { out.append(static_cast<std::size_t>(depth), '\t'); }

  bool line(std::string_view tag, int depth) {
    indent(depth);
    out.append(tag).push_back('\n');
    return true;
  }

  bool element(std::string_view name, std::string_view body, int depth) {
    indent(depth);
    out.append("<").append(name).append(">").append(body);
    out.append("</").append(name).append(">\n");
    return true;
  }

  // Markup characters become references; so does a carriage return, which an
  // XML reader would otherwise turn into a line feed.
  bool text(std::string_view name, std::string_view s, int depth) {
    if (auto problem = textProblem(s)) return fail("a text with " + *problem);
    std::string escaped;
    escaped.reserve(s.size());
    for (char c : s) {
      switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '\r': escaped += "&#13;"; break;
        default: escaped += c;
      }
    }
    return element(name, escaped, depth);
  }

  bool container(std::string_view name, bool empty, int depth) {
    if (depth >= kMaxDepth) return fail(kTooDeep);
    indent(depth);
    out.append("<").append(name).append(empty ? "/>\n" : ">\n");
    return true;
  }

  bool array(const Value::Array& items, int depth) {
    if (!container("array", items.empty(), depth)) return false;
    if (items.empty()) return true;
    for (const Value& item : items)
      if (!write(item, depth + 1)) return false;
    return line("</array>", depth);
  }

  bool dict(const Value::Dict& members, int depth) {
    if (!container("dict", members.empty(), depth)) return false;
    if (members.empty()) return true;
    for (const auto& [key, item] : members)
      if (!text("key", key, depth + 1) || !write(item, depth + 1)) return false;
    return line("</dict>", depth);
  }

  static std::string real(double d) {
    if (std::isnan(d)) return "nan";
    if (std::isinf(d)) return d > 0 ? "+infinity" : "-infinity";
    char digits[32];
    const auto r = std::to_chars(digits, digits + sizeof digits, d);
    return std::string(digits, r.ptr);
  }

  static std::string base64(const std::vector<std::uint8_t>& bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
      const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
      std::uint32_t group = std::uint32_t{bytes[i]} << 16;
      if (n > 1) group |= std::uint32_t{bytes[i + 1]} << 8;
      if (n > 2) group |= bytes[i + 2];
      for (std::size_t k = 0; k < 4; ++k)
        out += k <= n ? kAlphabet[(group >> (18 - 6 * k)) & 0x3F] : '=';
    }
    return out;
  }

  // "YYYY-MM-DDTHH:MM:SSZ", with ".fraction" before the Z when the date is
  // not a whole second; the fraction is printed with the shortest digits that
  // give the same double back.
  bool date(double seconds, int depth) {
    if (auto problem = dateProblem(seconds)) return fail(*problem);
    const double whole = std::floor(seconds);
    const auto total = static_cast<std::int64_t>(whole);
    std::int64_t days = total / 86400;
    std::int64_t inDay = total % 86400;
    if (inDay < 0) {
      inDay += 86400;
      --days;
    }
    const CivilDate c = civilFromDays(days);
    char text[64];
    int n = std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02lld:%02lld:%02lld",
                          static_cast<long long>(c.year), c.month, c.day,
                          static_cast<long long>(inDay / 3600),
                          static_cast<long long>(inDay / 60 % 60),
                          static_cast<long long>(inDay % 60));
    std::string body(text, static_cast<std::size_t>(n));
    if (const double fraction = seconds - whole; fraction > 0) {
      char digits[400];
      const auto r = std::to_chars(digits, digits + sizeof digits, fraction,
                                   std::chars_format::fixed);
      body.append(digits + 1, r.ptr);  // ".xxx" without the leading 0
    }
    return element("date", body + "Z", depth);
  }

  std::size_t values_ = 0;
};

}  // namespace

Written writeXml(const Value::Dict& root) {
  XmlWriter w;
  w.out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
      "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
      "<plist version=\"1.0\">\n";
  if (!w.root(root)) return {std::nullopt, "it holds " + w.error};
  w.out += "</plist>\n";
  if (w.out.size() > kMaxBytes) return {std::nullopt, std::string("it would be ") + kTooLarge};
  return {std::move(w.out), {}};
}

}  // namespace taviro::plist
