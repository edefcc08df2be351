#include "DesktopChecks.h"

#include <sys/wait.h>

#include <cstdio>
#include <vector>

#include "DriverProcess.h"
#include "Sending.h"

namespace taviro::vm {
namespace {

constexpr const char* kPenName = "Taviro Virtual Pen";
constexpr const char* kKeyboardName = "Taviro Virtual Keyboard";

std::string trimmed(std::string s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
  return s;
}

// udev's database entry of an event node ("event3").
std::string udevProperties(const std::string& node) {
  return readFile("/run/udev/data/c" + trimmed(readFile("/sys/class/input/" + node + "/dev")));
}

std::string commandOutput(const std::string& command) {
  std::string out;
  if (std::FILE* p = popen(command.c_str(), "r")) {
    char buf[512];
    while (std::fgets(buf, sizeof buf, p)) out += buf;
    pclose(p);
  }
  return out;
}

// "in", "out", "down", "up" for the pen's proximity and tip events.
std::vector<std::string> penTransitions(const std::vector<LibinputEvent>& events,
                                        const std::string& pen) {
  std::vector<std::string> out;
  for (const auto& e : events) {
    if (e.node != pen) continue;
    if (e.type == "TABLET_TOOL_PROXIMITY")
      out.push_back(e.detail.find("proximity-in") != std::string::npos ? "in" : "out");
    if (e.type == "TABLET_TOOL_TIP")
      out.push_back(e.detail.find(" down") != std::string::npos ? "down" : "up");
  }
  return out;
}

std::string joined(const std::vector<std::string>& words) {
  std::string s;
  for (const auto& w : words) s += w + " ";
  return s;
}

// The pressure libinput reports on a line ("pressure: 0.49*"), or -1.
double pressureOf(const LibinputEvent& e) {
  const std::size_t at = e.detail.find("pressure: ");
  return at == std::string::npos ? -1 : std::strtod(e.detail.c_str() + at + 10, nullptr);
}

}  // namespace

DesktopNodes desktopSeesTheVirtualDevices(Checks& c, const LibinputEvents& libinput) {
  DesktopNodes nodes{libinput.nodeOf(kPenName, kStartTimeoutMs),
                     libinput.nodeOf(kKeyboardName, kStartTimeoutMs)};
  std::string added;
  for (const auto& e : libinput.since(0))
    if (e.type == "DEVICE_ADDED" && (e.node == nodes.pen || e.node == nodes.keyboard))
      added += e.node + " " + e.detail + "; ";
  const bool tablet = added.find(std::string(kPenName)) != std::string::npos &&
                      added.find("cap:T ") != std::string::npos;
  const bool keyboardAndPointer = added.find("cap:kp ") != std::string::npos;
  c.check("libinput_sees_a_tablet_and_a_keyboard_with_pointer", tablet && keyboardAndPointer, added);

  const std::string properties = nodes.keyboard.empty() ? "" : udevProperties(nodes.keyboard);
  const bool mouse = properties.find("E:ID_INPUT_MOUSE=1") != std::string::npos &&
                     properties.find("E:ID_INPUT_KEYBOARD=1") != std::string::npos &&
                     properties.find("ID_INPUT_JOYSTICK") == std::string::npos;
  c.check("keyboard_is_a_mouse_to_udev", mouse, mouse ? "ID_INPUT_MOUSE=1" : properties);

  const std::string quirks =
      nodes.pen.empty() ? "" : commandOutput("/usr/libexec/libinput/libinput-quirks list /dev/input/" + nodes.pen);
  c.check("libinput_smoothing_off_for_the_pen",
          quirks.find("AttrTabletSmoothing=0") != std::string::npos, quirks);
  return nodes;
}

void strokeAsLibinputSeesIt(Checks& c, const LibinputEvents& libinput, std::size_t from,
                            const std::string& pen) {
  // Waits for the stroke's last event: the second proximity-out.
  const std::size_t firstOut = libinput.waitFor(from, pen, "TABLET_TOOL_PROXIMITY", "proximity-out", kEventTimeoutMs);
  libinput.waitFor(firstOut + 1, pen, "TABLET_TOOL_PROXIMITY", "proximity-out", kEventTimeoutMs);
  const std::vector<LibinputEvent> events = libinput.since(from);
  const std::vector<std::string> seen = penTransitions(events, pen);
  c.check("libinput_pen_announced_then_in_down_up_out",
          seen == std::vector<std::string>{"in", "out", "in", "down", "up", "out"}, joined(seen));

  // The scenario holds the pen still in range for 300 ms before the tip goes
  // down; libinput's forced proximity-out would come 50 ms into it and the
  // tip would bring the pen back: "in out in down" all the same. So the one
  // proximity-out before the tip must be the announcing pair's, which goes
  // out in the same write() as the real entry.
  double out = -1, in = -1, down = -1, tipPressure = -1, maxPressure = 0;
  int ins = 0;
  for (const auto& e : events) {
    if (e.node != pen) continue;
    if (e.type == "TABLET_TOOL_PROXIMITY" && e.detail.find("proximity-out") != std::string::npos && out < 0)
      out = e.seconds;
    if (e.type == "TABLET_TOOL_PROXIMITY" && e.detail.find("proximity-in") != std::string::npos && ++ins == 2)
      in = e.seconds;
    if (e.type == "TABLET_TOOL_TIP" && e.detail.find(" down") != std::string::npos) {
      down = e.seconds;
      tipPressure = pressureOf(e);
    }
    if (e.type == "TABLET_TOOL_AXIS") maxPressure = std::max(maxPressure, pressureOf(e));
  }
  c.check("libinput_keeps_a_still_hovering_pen_in_proximity",
          out >= 0 && in - out < 0.02 && down - in >= 0.1,
          "out at " + std::to_string(out) + " s, in at " + std::to_string(in) +
              " s, tip down at " + std::to_string(down) + " s");
  c.check("libinput_tip_and_pressure", tipPressure > 0.05 && maxPressure > 0.9,
          "tip " + std::to_string(tipPressure) + " max " + std::to_string(maxPressure));
}

void doubleClickGivesTwoClicks(Checks& c, UhidTablet& tablet, const LibinputEvents& libinput,
                               const std::string& keyboard) {
  const std::size_t from = libinput.size();
  tapExpressKey(tablet, 5);
  std::size_t at = from;
  for (int i = 0; i < 4; ++i)
    at = libinput.waitFor(at, keyboard, "POINTER_BUTTON", "BTN_LEFT", kEventTimeoutMs) + 1;
  std::vector<double> times;
  std::string seen;
  for (const auto& e : libinput.since(from)) {
    if (e.node != keyboard || e.type != "POINTER_BUTTON") continue;
    seen += e.detail + "; ";
    const bool press = e.detail.find("pressed") != std::string::npos;
    if (e.detail.find("BTN_LEFT") != std::string::npos && press == (times.size() % 2 == 0))
      times.push_back(e.seconds);
  }
  c.check("double_click_gives_two_clicks",
          times.size() == 4 && times[2] - times[1] >= 0.025 && times[3] - times[0] < 0.4, seen);
}

int secondDriverWaitsForTheTablet(Checks& c, UhidTablet& tablet, const LibinputEvents& libinput,
                                   const std::string& pen, pid_t& driver) {
  const std::size_t features = tablet.waitForFeatures(0, 0).size();
  const pid_t second = startDriver({"--display", "1920x1080"}, "/tmp/driver2.log");
  const bool leftAlone = waitForLog("/tmp/driver2.log", {"another driver owns the tablet"}, kStartTimeoutMs);
  const std::string secondPen = libinput.nodeOf(kPenName, kStartTimeoutMs, 1);
  // A hover in and out: the first driver's pen only.
  std::size_t from = libinput.size();
  sendGroup(tablet, penReport(kStatusHover, 30000, 30000, 0), 8);
  sendGroup(tablet, penReport(kStatusOut, 30000, 30000, 0), 8);
  const bool firstMoved = libinput.waitFor(from, pen, "TABLET_TOOL_PROXIMITY", "proximity-out", kEventTimeoutMs) < libinput.size();
  sleepMs(300);
  const bool secondStill = penTransitions(libinput.since(from), secondPen).empty();
  const bool notStarted = tablet.waitForFeatures(features + 1, 300).size() == features;
  const bool alone = leftAlone && !secondPen.empty() && firstMoved && secondStill && notStarted;
  c.check("second_driver_leaves_a_grabbed_tablet_alone", alone,
          alone ? "" : trimmed(readFile("/tmp/driver2.log")));

  const int sentToFirst = g_reportsSent;
  const int status = stopDriver(driver, kStartTimeoutMs);
  c.check("sigterm_ends_the_driver_cleanly", WIFEXITED(status) && WEXITSTATUS(status) == 0,
          "status " + std::to_string(status));
  driver = second;
  const bool tookOver = waitForLog("/tmp/driver2.log", {"taking it over", "tablet connected"}, kStartTimeoutMs) &&
                        tablet.waitForFeatures(features + 1, kStartTimeoutMs).size() == features + 1;
  from = libinput.size();
  sendGroup(tablet, penReport(kStatusHover, 30000, 30000, 0), 8);
  sendGroup(tablet, penReport(kStatusOut, 30000, 30000, 0), 8);
  const std::size_t out = libinput.waitFor(from, secondPen, "TABLET_TOOL_PROXIMITY", "proximity-out", kEventTimeoutMs);
  libinput.waitFor(out + 1, secondPen, "TABLET_TOOL_PROXIMITY", "proximity-out", kEventTimeoutMs);
  const std::vector<std::string> seen = penTransitions(libinput.since(from), secondPen);
  c.check("second_driver_takes_the_tablet_when_the_first_lets_go",
          tookOver && seen == std::vector<std::string>{"in", "out", "in", "out"}, joined(seen));
  return sentToFirst;
}

}  // namespace taviro::vm
