#include "Documents.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include "json/JSONKit.h"

namespace taviro::bench {

std::string shortcutFileDocument() {
  std::ifstream in(TAVIRO_DATA_DIR "/shortcut.json", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string shortcutStoreDocument() {
  static const char* const kKeys[] = {
      "Z ", "Y ", "B ", "E ", "Equal ", "Minus ", "Space ", "", "LeftBracket ", "RightBracket ",
      "S ", "O ", "H ", "R ", "Tab ",   "F "};
  Value::Dict store;
  for (int id = 0; id < 16; ++id) {
    const bool mouse = id >= 14;
    store[std::to_string(id)] = Value::Dict{
        {"enableKeyboard", mouse ? 0 : 1},
        {"keyboardEvent", kKeys[id]},
        {"shortcutEvent", id % 3 == 0 ? "Command+" : "Command+Shift+"},
        {"shortcut", std::string(id % 3 == 0 ? "Command+" : "Command+Shift+") + kKeys[id]},
        {"enableMouse", mouse ? 1 : 0},
        {"mouse", id == 14 ? "MouseRight;" : "MouseMiddle;"},
        {"enableFunc", id == 7 ? 1 : 0},
        {"function", id == 7 ? "E,B;" : "Monitor;"},
        {"enableRun", 0},
        {"filePath", "/usr/share/applications/org.kde.krita.desktop"},
    };
  }
  return *JSONString(store);
}

std::string recordsDocument(std::size_t bytes) {
  std::mt19937_64 random(42);
  static const char* const kWords[] = {
      "pen",          "pressure",
      "tablet",       "\xed\x8e\x9c \xed\x83\x9c\xeb\xb8\x94\xeb\xa6\xbf",
      "line\nbreak",  "say \"hi\"",
      "path/to/file", "\xc3\xa9t\xc3\xa9"};
  Value::Dict document;
  std::size_t written = 2;
  for (int item = 0; written < bytes; ++item) {
    Value::Array samples;
    for (int i = 0; i < 8; ++i)
      samples.emplace_back(static_cast<double>(random() % 100000) / 997.0);
    Value::Dict record{
        {"name", kWords[random() % 8]},
        {"label", std::string(kWords[random() % 8]) + " " + kWords[random() % 8]},
        {"id", static_cast<std::uint64_t>(random() % 1000000)},
        {"offset", -static_cast<std::int64_t>(random() % 5000)},
        {"scale", 1.0 / static_cast<double>(1 + random() % 1000)},
        {"enabled", random() % 2 == 0},
        {"parent", nullptr},
        {"samples", std::move(samples)},
        {"area", Value::Dict{{"x", 0}, {"y", 0}, {"w", 1920}, {"h", 1080}}},
    };
    char key[16];
    std::snprintf(key, sizeof key, "item%06d", item);
    written += JSONString(record)->size() + 12;
    document[key] = std::move(record);
  }
  return *JSONString(document);
}

std::string numbersDocument(std::size_t bytes) {
  std::mt19937_64 random(7);
  const auto uniform = [&random](double scale) {
    return static_cast<double>(random() % 1'000'000'007) / 1'000'000'007.0 * scale;
  };
  Value::Dict document;
  std::size_t written = 2;
  for (int stroke = 0; written < bytes; ++stroke) {
    Value::Array points;
    for (int i = 0; i < 16; ++i) {
      points.emplace_back(
          Value::Array{uniform(1920.0), uniform(1080.0), uniform(1.0),
                       uniform(2e-4) - 1e-4,  // a tilt, often written with an exponent
                       static_cast<std::uint64_t>(1'700'000'000'000 + random() % 100'000)});
    }
    char key[16];
    std::snprintf(key, sizeof key, "stroke%05d", stroke);
    written += JSONString(points)->size() + 15;
    document[key] = std::move(points);
  }
  return *JSONString(document);
}

}  // namespace taviro::bench
