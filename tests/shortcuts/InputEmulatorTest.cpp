#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/NotificationCenter.h"
#include "shortcuts/InputEmulator.h"
#include "shortcuts/ShortcutTranscript.h"

namespace taviro {
namespace {

using Lines = std::vector<std::string>;

// An executor whose every effect, notifications included, lands in `lines`
// in the replay tool's format.
struct Harness {
  NotificationCenter center;  // outlives the transcript that observes it
  Lines lines;
  ShortcutTranscript transcript{[this](const std::string& line) { lines.push_back(line); }};
  InputEmulator emulator{transcript, transcript, center};

  Harness() { transcript.observe(center); }

  Lines run(const std::string& command, bool down, int key) {
    lines.clear();
    emulator.sendKeyboard(command, down, key);
    return lines;
  }
  Lines press(const std::string& command, int key = 0) { return run(command, true, key); }
  Lines release(const std::string& command, int key = 0) { return run(command, false, key); }
};

struct PressCase {
  const char* command;
  Lines down;  // after the DownKey line
  Lines up;
};

TEST(InputEmulator, RunsCommandsOnTheDownAndUpCalls) {
  const PressCase cases[] = {
      {"Ctrl+Shift+A;", {"key code=0 flags=0x60000 down=1"}, {"key code=0 flags=0x60000 down=0"}},
      {"Command+Option+Z;", {"key code=6 flags=0x180000 down=1"}, {"key code=6 flags=0x180000 down=0"}},
      {"Function+F1;", {"key code=122 flags=0x800000 down=1"}, {"key code=122 flags=0x800000 down=0"}},
      {"CapsLock;", {"key code=57 flags=0x0 down=1"}, {"key code=57 flags=0x0 down=0"}},
      // Modifiers-only chords post the legacy event named by the modifiers.
      {"Ctrl+Shift+", {"modkey code=59 down=1"}, {"modkey code=59 down=0"}},
      {"Command+", {"modkey code=55 down=1"}, {"modkey code=55 down=0"}},
      {"Shift+", {"modkey code=56 down=1"}, {"modkey code=56 down=0"}},
      {"Shift+Option+", {"modkey code=58 down=1"}, {"modkey code=58 down=0"}},
      {"Option+Ctrl+", {"modkey code=59 down=1"}, {"modkey code=59 down=0"}},
      {"Ctrl+Command+", {"modkey code=63 down=1"}, {"modkey code=63 down=0"}},
      // A key before a modifier is dropped: the modifier resets the chord's key.
      {"A+Ctrl;", {"modkey code=59 down=1"}, {"modkey code=59 down=0"}},
      // Mouse actions.
      {"MouseLeft;", {"mouse button=0 type=1 clicks=1"}, {"mouse button=0 type=2 clicks=1"}},
      {"MouseRight;", {"mouse button=1 type=3 clicks=1"}, {"mouse button=1 type=4 clicks=1"}},
      {"MouseMiddle;", {"mouse button=2 type=25 clicks=1"}, {"mouse button=2 type=26 clicks=1"}},
      {"MouseDoubleClick;",
       {"mouse button=0 type=1 clicks=1", "mouse button=0 type=2 clicks=1",
        "mouse button=0 type=1 clicks=2", "mouse button=0 type=2 clicks=2"},
       {}},
      {"ScrollBack;", {"scroll pixels=5"}, {"scroll pixels=5"}},
      {"ScrollForward;", {"scroll pixels=-5"}, {"scroll pixels=-5"}},
      // A mouse token ends its command and replaces a chord begun before it.
      {"Ctrl+MouseLeft;", {"mouse button=0 type=1 clicks=1"}, {"mouse button=0 type=2 clicks=1"}},
      {"MouseRight+A;", {"mouse button=1 type=3 clicks=1"}, {"mouse button=1 type=4 clicks=1"}},
      // Display switch and file opening happen on the down call only, and keep
      // a chord begun before them.
      {"Monitor;", {"notify Monitor"}, {}},
      {"Ctrl+Monitor+A;", {"notify Monitor", "modkey code=59 down=1"}, {"modkey code=59 down=0"}},
      {"RunFile:/Applications/Editor.app", {"open path=/Applications/Editor.app"}, {}},
      {"RunFile:", {"open path="}, {}},
      {"RunFile:/a:b", {"open path=/a"}, {}},
      {"RunFile:/a+b", {"open path=/a"}, {}},
      {"RunFile:/x;y", {"open path=/x"}, {}},
      {"RunFile:/Monitors/app", {"notify Monitor"}, {}},
      // Parsing opens the file before the parsed chords and clicks are posted.
      {"Ctrl+A;MouseLeft;RunFile:/e",
       {"open path=/e", "key code=0 flags=0x40000 down=1", "mouse button=0 type=1 clicks=1"},
       {"key code=0 flags=0x40000 down=0", "mouse button=0 type=2 clicks=1"}},
      // Names missing from the table and empty parts are skipped.
      {"Control+A;", {"key code=0 flags=0x0 down=1"}, {"key code=0 flags=0x0 down=0"}},
      {";;+;Nothing;", {}, {}},
      // A "Function" chord has no modifier key to post on its own.
      {"Function+", {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    Harness h;
    Lines down{"notify DownKey kid=4"};
    down.insert(down.end(), c.down.begin(), c.down.end());
    EXPECT_EQ(h.press(c.command, 4), down);
    EXPECT_EQ(h.release(c.command, 4), c.up);
  }
}

// The toggle types B on odd presses of any key and E on even ones; both
// calls of a press type the same letter, and up calls neither count nor
// announce.
TEST(InputEmulator, BrushToggleFollowsThePressCount) {
  Harness h;
  EXPECT_EQ(h.release("MouseLeft;", 3).size(), 1u);
  EXPECT_EQ(h.press("", 3), (Lines{"notify DownKey kid=3"}));
  for (const char* code : {"14", "11", "14"}) {
    const std::string key = std::string("key code=") + code + " flags=0x0 ";
    EXPECT_EQ(h.press("E,B;"), (Lines{"notify DownKey kid=0", key + "down=1"}));
    EXPECT_EQ(h.release("E,B;"), (Lines{key + "down=0"}));
  }
  h.press("Ctrl+Z;", 2);
  EXPECT_EQ(h.press("E,B;", 1).back(), "key code=14 flags=0x0 down=1");
  EXPECT_EQ(h.emulator.downCount(), 6u);
}

}  // namespace
}  // namespace taviro
