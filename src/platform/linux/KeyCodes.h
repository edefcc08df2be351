#pragma once
// The Linux input key of each virtual key code of the key table (ANSI
// keyboard layout; keypad, function and JIS keys included).
#include <cstdint>
#include <vector>

namespace taviro::linux_input {

// KEY_* code of `virtualKey`, or -1 when the key table has no such code.
int linuxKeyForVirtualKey(std::uint16_t virtualKey);

// The virtual key code of Linux key `linuxKey` (KEY_*), or -1 when the table
// has none.
int virtualKeyForLinuxKey(int linuxKey);

// Every KEY_* code the table maps to, ascending, each once.
std::vector<int> linuxKeysOfTheTable();

}  // namespace taviro::linux_input
