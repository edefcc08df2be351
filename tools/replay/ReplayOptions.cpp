#include "ReplayOptions.h"

#include <charconv>
#include <cmath>
#include <sstream>

namespace taviro::replay {

namespace {

// A whole decimal number (sign, digits, optional fraction); none otherwise.
std::optional<double> number(std::string_view s) {
  double v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<Rect> parseDisplay(std::string_view s) {
  // WIDTHxHEIGHT+X+Y, X and Y may be negative ("+-1920").
  const std::size_t x = s.find('x');
  if (x == std::string_view::npos) return std::nullopt;
  const std::size_t plus1 = s.find('+', x);
  if (plus1 == std::string_view::npos) return std::nullopt;
  const std::size_t plus2 = s.find('+', plus1 + 1);
  if (plus2 == std::string_view::npos) return std::nullopt;
  const auto w = number(s.substr(0, x));
  const auto h = number(s.substr(x + 1, plus1 - x - 1));
  const auto ox = number(s.substr(plus1 + 1, plus2 - plus1 - 1));
  const auto oy = number(s.substr(plus2 + 1));
  if (!w || !h || !ox || !oy || *w <= 0 || *h <= 0) return std::nullopt;
  return Rect(*ox, *oy, *w, *h);
}

}  // namespace

std::optional<std::vector<Rect>> parseDisplays(const std::string& text) {
  std::vector<Rect> out;
  std::stringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) {
    const auto r = parseDisplay(item);
    if (!r) return std::nullopt;
    out.push_back(*r);
  }
  if (out.empty() || (!text.empty() && text.back() == ',')) return std::nullopt;
  return out;
}

std::optional<Point> parsePoint(const std::string& text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string::npos) return std::nullopt;
  const auto x = number(std::string_view(text).substr(0, comma));
  const auto y = number(std::string_view(text).substr(comma + 1));
  if (!x || !y) return std::nullopt;
  return Point{*x, *y};
}

ParsedOptions parseOptions(const std::vector<std::string>& args) {
  ParsedOptions r;
  Options& o = r.options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const auto value = [&](const char* name) -> std::optional<std::string> {
      if (i + 1 >= args.size()) {
        r.error = std::string(name) + " needs a value";
        return std::nullopt;
      }
      return args[++i];
    };
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--show-pressure") {
      o.showPressure = true;
    } else if (a == "--settings") {
      const auto v = value("--settings");
      if (!v) return r;
      o.settingsFile = *v;
    } else if (a == "--shortcuts") {
      const auto v = value("--shortcuts");
      if (!v) return r;
      o.shortcutsFile = *v;
    } else if (a == "--displays") {
      const auto v = value("--displays");
      if (!v) return r;
      const auto displays = parseDisplays(*v);
      if (!displays) {
        r.error = "bad --displays \"" + *v + "\" (expected WIDTHxHEIGHT+X+Y[,...])";
        return r;
      }
      o.displays = *displays;
    } else if (a == "--pointer") {
      const auto v = value("--pointer");
      if (!v) return r;
      const auto p = parsePoint(*v);
      if (!p) {
        r.error = "bad --pointer \"" + *v + "\" (expected X,Y)";
        return r;
      }
      o.pointer = *p;
    } else if (a.size() > 1 && a[0] == '-') {
      r.error = "unknown option " + a;
      return r;
    } else if (o.reportsFile) {
      r.error = "only one reports file may be named";
      return r;
    } else {
      o.reportsFile = a;
    }
  }
  return r;
}

}  // namespace taviro::replay
