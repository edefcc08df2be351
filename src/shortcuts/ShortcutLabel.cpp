// The Korean label of a command string, shown on the panel's key buttons and in
// the key-tip window.
#include <array>
#include <string>
#include <string_view>

#include "shortcuts/KeyMapInfo.h"

namespace taviro {
namespace {

struct LabelReplacement {
  std::string_view text;
  std::string_view label;
};

// Applied one after another, each on the result of the previous one.
constexpr auto kLabels = std::to_array<LabelReplacement>({
    {"MouseLeft", "마우스 좌클릭"},
    {"MouseRight", "마우스 우클릭"},
    {"ScrollForward", "위로 스크롤"},
    {"MouseDoubleClick", "더블 클릭"},
    {"MouseMiddle", "마우스 휠클릭"},
    {"ScrollBack", "아래로 스크롤"},
    {"Monitor", "디스플레이 전환"},
    {"E,B", "브러시 전환"},
    {"RunFile:", "프로그램 실행"},
});

constexpr std::string_view kUndefinedLabel = "정의되지 않음";

void replaceAll(std::string& s, std::string_view text, std::string_view by) {
  for (std::size_t at = s.find(text); at != std::string::npos; at = s.find(text, at + by.size()))
    s.replace(at, text.size(), by);
}

}  // namespace

std::string KeyMapInfo::shortkeyToChina(std::string_view command) {
  std::string label(command);
  for (const LabelReplacement& r : kLabels) replaceAll(label, r.text, r.label);
  if (label.empty()) return std::string(kUndefinedLabel);
  // One command reads better without its separator; lists keep theirs.
  const std::size_t first = label.find(';');
  if (first != std::string::npos && label.find(';', first + 1) == std::string::npos)
    label[first] = ' ';
  return label;
}

}  // namespace taviro
