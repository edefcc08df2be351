#include "platform/linux/KeyCodes.h"

#include <linux/input-event-codes.h>

#include <algorithm>
#include <iterator>

namespace taviro::linux_input {
namespace {

struct KeyPair {
  std::uint16_t virtualKey;
  int linuxKey;
};

// Sorted by virtual key code. Keypad Clear is Num Lock and Help is Insert on
// PC keyboards; Function is KEY_FN.
constexpr KeyPair kKeys[] = {
    {0, KEY_A},  // kVK_ANSI_A
    {1, KEY_S},  // kVK_ANSI_S
    {2, KEY_D},  // kVK_ANSI_D
    {3, KEY_F},  // kVK_ANSI_F
    {4, KEY_H},  // kVK_ANSI_H
    {5, KEY_G},  // kVK_ANSI_G
    {6, KEY_Z},  // kVK_ANSI_Z
    {7, KEY_X},  // kVK_ANSI_X
    {8, KEY_C},  // kVK_ANSI_C
    {9, KEY_V},  // kVK_ANSI_V
    {10, KEY_102ND},  // kVK_ISO_Section
    {11, KEY_B},  // kVK_ANSI_B
    {12, KEY_Q},  // kVK_ANSI_Q
    {13, KEY_W},  // kVK_ANSI_W
    {14, KEY_E},  // kVK_ANSI_E
    {15, KEY_R},  // kVK_ANSI_R
    {16, KEY_Y},  // kVK_ANSI_Y
    {17, KEY_T},  // kVK_ANSI_T
    {18, KEY_1},  // kVK_ANSI_1
    {19, KEY_2},  // kVK_ANSI_2
    {20, KEY_3},  // kVK_ANSI_3
    {21, KEY_4},  // kVK_ANSI_4
    {22, KEY_6},  // kVK_ANSI_6
    {23, KEY_5},  // kVK_ANSI_5
    {24, KEY_EQUAL},  // kVK_ANSI_Equal
    {25, KEY_9},  // kVK_ANSI_9
    {26, KEY_7},  // kVK_ANSI_7
    {27, KEY_MINUS},  // kVK_ANSI_Minus
    {28, KEY_8},  // kVK_ANSI_8
    {29, KEY_0},  // kVK_ANSI_0
    {30, KEY_RIGHTBRACE},  // kVK_ANSI_RightBracket
    {31, KEY_O},  // kVK_ANSI_O
    {32, KEY_U},  // kVK_ANSI_U
    {33, KEY_LEFTBRACE},  // kVK_ANSI_LeftBracket
    {34, KEY_I},  // kVK_ANSI_I
    {35, KEY_P},  // kVK_ANSI_P
    {36, KEY_ENTER},  // kVK_Return
    {37, KEY_L},  // kVK_ANSI_L
    {38, KEY_J},  // kVK_ANSI_J
    {39, KEY_APOSTROPHE},  // kVK_ANSI_Quote
    {40, KEY_K},  // kVK_ANSI_K
    {41, KEY_SEMICOLON},  // kVK_ANSI_Semicolon
    {42, KEY_BACKSLASH},  // kVK_ANSI_Backslash
    {43, KEY_COMMA},  // kVK_ANSI_Comma
    {44, KEY_SLASH},  // kVK_ANSI_Slash
    {45, KEY_N},  // kVK_ANSI_N
    {46, KEY_M},  // kVK_ANSI_M
    {47, KEY_DOT},  // kVK_ANSI_Period
    {48, KEY_TAB},  // kVK_Tab
    {49, KEY_SPACE},  // kVK_Space
    {50, KEY_GRAVE},  // kVK_ANSI_Grave
    {51, KEY_BACKSPACE},  // kVK_Delete
    {53, KEY_ESC},  // kVK_Escape
    {54, KEY_RIGHTMETA},  // kVK_RightCommand
    {55, KEY_LEFTMETA},  // kVK_Command
    {56, KEY_LEFTSHIFT},  // kVK_Shift
    {57, KEY_CAPSLOCK},  // kVK_CapsLock
    {58, KEY_LEFTALT},  // kVK_Option
    {59, KEY_LEFTCTRL},  // kVK_Control
    {60, KEY_RIGHTSHIFT},  // kVK_RightShift
    {61, KEY_RIGHTALT},  // kVK_RightOption
    {62, KEY_RIGHTCTRL},  // kVK_RightControl
    {63, KEY_FN},  // kVK_Function
    {64, KEY_F17},  // kVK_F17
    {65, KEY_KPDOT},  // kVK_ANSI_KeypadDecimal
    {67, KEY_KPASTERISK},  // kVK_ANSI_KeypadMultiply
    {69, KEY_KPPLUS},  // kVK_ANSI_KeypadPlus
    {71, KEY_NUMLOCK},  // kVK_ANSI_KeypadClear
    {72, KEY_VOLUMEUP},  // kVK_VolumeUp
    {73, KEY_VOLUMEDOWN},  // kVK_VolumeDown
    {74, KEY_MUTE},  // kVK_Mute
    {75, KEY_KPSLASH},  // kVK_ANSI_KeypadDivide
    {76, KEY_KPENTER},  // kVK_ANSI_KeypadEnter
    {78, KEY_KPMINUS},  // kVK_ANSI_KeypadMinus
    {79, KEY_F18},  // kVK_F18
    {80, KEY_F19},  // kVK_F19
    {81, KEY_KPEQUAL},  // kVK_ANSI_KeypadEquals
    {82, KEY_KP0},  // kVK_ANSI_Keypad0
    {83, KEY_KP1},  // kVK_ANSI_Keypad1
    {84, KEY_KP2},  // kVK_ANSI_Keypad2
    {85, KEY_KP3},  // kVK_ANSI_Keypad3
    {86, KEY_KP4},  // kVK_ANSI_Keypad4
    {87, KEY_KP5},  // kVK_ANSI_Keypad5
    {88, KEY_KP6},  // kVK_ANSI_Keypad6
    {89, KEY_KP7},  // kVK_ANSI_Keypad7
    {90, KEY_F20},  // kVK_F20
    {91, KEY_KP8},  // kVK_ANSI_Keypad8
    {92, KEY_KP9},  // kVK_ANSI_Keypad9
    {93, KEY_YEN},  // kVK_JIS_Yen
    {94, KEY_RO},  // kVK_JIS_Underscore
    {95, KEY_KPCOMMA},  // kVK_JIS_KeypadComma
    {96, KEY_F5},  // kVK_F5
    {97, KEY_F6},  // kVK_F6
    {98, KEY_F7},  // kVK_F7
    {99, KEY_F3},  // kVK_F3
    {100, KEY_F8},  // kVK_F8
    {101, KEY_F9},  // kVK_F9
    {102, KEY_HANJA},  // kVK_JIS_Eisu
    {103, KEY_F11},  // kVK_F11
    {104, KEY_HANGEUL},  // kVK_JIS_Kana
    {105, KEY_F13},  // kVK_F13
    {106, KEY_F16},  // kVK_F16
    {107, KEY_F14},  // kVK_F14
    {109, KEY_F10},  // kVK_F10
    {110, KEY_COMPOSE},  // kVK_ContextualMenu
    {111, KEY_F12},  // kVK_F12
    {113, KEY_F15},  // kVK_F15
    {114, KEY_INSERT},  // kVK_Help
    {115, KEY_HOME},  // kVK_Home
    {116, KEY_PAGEUP},  // kVK_PageUp
    {117, KEY_DELETE},  // kVK_ForwardDelete
    {118, KEY_F4},  // kVK_F4
    {119, KEY_END},  // kVK_End
    {120, KEY_F2},  // kVK_F2
    {121, KEY_PAGEDOWN},  // kVK_PageDown
    {122, KEY_F1},  // kVK_F1
    {123, KEY_LEFT},  // kVK_LeftArrow
    {124, KEY_RIGHT},  // kVK_RightArrow
    {125, KEY_DOWN},  // kVK_DownArrow
    {126, KEY_UP},  // kVK_UpArrow
};

static_assert(std::is_sorted(std::begin(kKeys), std::end(kKeys),
                             [](const KeyPair& a, const KeyPair& b) { return a.virtualKey < b.virtualKey; }));

}  // namespace

int linuxKeyForVirtualKey(std::uint16_t virtualKey) {
  const auto* it = std::lower_bound(std::begin(kKeys), std::end(kKeys), virtualKey,
                                    [](const KeyPair& p, std::uint16_t k) { return p.virtualKey < k; });
  return it != std::end(kKeys) && it->virtualKey == virtualKey ? it->linuxKey : -1;
}

int virtualKeyForLinuxKey(int linuxKey) {
  const auto* it = std::find_if(std::begin(kKeys), std::end(kKeys),
                                [linuxKey](const KeyPair& p) { return p.linuxKey == linuxKey; });
  return it != std::end(kKeys) ? it->virtualKey : -1;
}

std::vector<int> linuxKeysOfTheTable() {
  std::vector<int> keys;
  for (const KeyPair& p : kKeys) keys.push_back(p.linuxKey);
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

}  // namespace taviro::linux_input
