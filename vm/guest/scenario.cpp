// The end-to-end test inside the VM: a fake tablet on /dev/uhid, the real
// taviro-driver, checks on the virtual pen's and keyboard's event nodes, and
// on what udev and libinput (debug-events, as the desktop reads them) make of
// them.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Checks.h"
#include "DesktopChecks.h"
#include "DriverProcess.h"
#include "EvdevNode.h"
#include "Libinput.h"
#include "Sending.h"
#include "TabletReport.h"
#include "UhidTablet.h"

namespace {

using namespace taviro::vm;
using Events = std::vector<input_event>;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr std::uint8_t kStartCommand[] = {0x02, 0x10, 0x01};


// Screen pixel of a tablet coordinate on a 1920 x 1080 desktop.
int mapX(int x) { return static_cast<int>(x * double(kWidth) / 65535.0); }
int mapY(int y) { return static_cast<int>(y * double(kHeight) / 65535.0); }
// The driver's 16-bit pressure of a raw pressure (default damping).
int mapPressure(int raw) { return raw <= 2000 ? 0 : static_cast<int>(static_cast<float>(std::min(raw, 8192)) / 8192.0f * 65535.0); }


const std::vector<std::string> kDriverArgs{"--display", "1920x1080", "--record", "/tmp/reports.txt"};

std::string describe(const Events& events) {
  std::ostringstream s;
  for (const auto& e : events) {
    if (e.type == EV_SYN) s << "| ";
    else s << e.type << ":" << e.code << "=" << e.value << " ";
  }
  return s.str();
}

// The value an axis had in the frame of the first event matching type/code/value.
struct Frame {
  bool found = false;
  int x = -1, y = -1, pressure = -1;
};

// Replays the events, tracking axis values; the state right after the frame
// holding (type, code, value), searching from index `from`.
Frame frameOf(const Events& events, std::uint16_t type, std::uint16_t code, int value,
              std::size_t from = 0) {
  Frame state;
  bool hit = false;
  for (std::size_t i = 0; i < events.size(); ++i) {
    const auto& e = events[i];
    if (e.type == EV_ABS && e.code == ABS_X) state.x = e.value;
    if (e.type == EV_ABS && e.code == ABS_Y) state.y = e.value;
    if (e.type == EV_ABS && e.code == ABS_PRESSURE) state.pressure = e.value;
    if (i >= from && e.type == type && e.code == code && e.value == value) hit = true;
    if (hit && e.type == EV_SYN) {
      state.found = true;
      return state;
    }
  }
  return {};
}

std::size_t indexOf(const Events& events, std::uint16_t type, std::uint16_t code, int value,
                    std::size_t from = 0) {
  for (std::size_t i = from; i < events.size(); ++i)
    if (events[i].type == type && events[i].code == code && events[i].value == value) return i;
  return events.size();
}

bool near(int a, int b) { return std::abs(a - b) <= 1; }

std::string kernelNodeOfTablet() {
  // The kernel's own node for the fake tablet (USB bus), not the virtual pen.
  for (const auto& node : eventNodesOf(0x6161, 0x4D15)) {
    const std::string sys = "/sys/class/input/" + node.substr(node.rfind('/') + 1) + "/device/id/bustype";
    std::ifstream in(sys);
    std::string bus;
    in >> bus;
    if (bus == "0003") return node;
  }
  return {};
}

bool startCommandArrived(UhidTablet& t, std::size_t count) {
  const auto features = t.waitForFeatures(count, kStartTimeoutMs);
  return features.size() >= count &&
         features[count - 1] == std::vector<std::uint8_t>(kStartCommand, kStartCommand + 3);
}

// Events up to the end of the frame holding each of `milestones` (key code and
// value) in turn.
Events readThrough(EvdevNode& node, const std::vector<std::pair<int, int>>& milestones) {
  Events all;
  for (const auto& [code, value] : milestones) {
    for (bool reached = false; !reached;) {
      const Events more = node.readUntil(EV_KEY, static_cast<std::uint16_t>(code), kEventTimeoutMs);
      if (more.empty()) return all;
      all.insert(all.end(), more.begin(), more.end());
      reached = indexOf(more, EV_KEY, static_cast<std::uint16_t>(code), value) < more.size();
    }
  }
  return all;
}

// The pen hovers still for 300 ms before the tip goes down: libinput must not
// force it out of proximity meanwhile.
void penStroke(Checks& c, UhidTablet& tablet, EvdevNode& pen) {
  constexpr int x0 = 20000, y0 = 30000;  // even: bit 7 of the status byte stays clear
  constexpr int x1 = 20001, x2 = 30001;  // tip reports set it anyway
  pen.drain(50);
  sendGroup(tablet, penReport(kStatusHover, x0, y0, 0), 8);
  sleepMs(300);
  sendGroup(tablet, penReport(kStatusTip, x0 | 1, y0, 4096), 8);
  sendGroup(tablet, penReport(kStatusTip, x1 + 4000, y0, 6144), 4);
  sendGroup(tablet, penReport(kStatusTip, x2, y0 + 5000, 8192), 4);
  sendGroup(tablet, penReport(kStatusHover, x2 - 1, y0 + 5000, 0), 8);
  sendGroup(tablet, penReport(kStatusOut, x2 - 1, y0 + 5000, 0), 8);
  const Events all = readThrough(pen, {{BTN_TOUCH, 0}, {BTN_TOOL_PEN, 0}});
  const std::string seen = describe(all);

  const Frame in = frameOf(all, EV_KEY, BTN_TOOL_PEN, 1);
  c.check("pen_enters_proximity_at_mapped_position",
          in.found && near(in.x, mapX(x0)) && near(in.y, mapY(y0)), seen);
  const Frame down = frameOf(all, EV_KEY, BTN_TOUCH, 1);
  // A button event carries the pressure in 8 bits.
  c.check("tip_down_with_pressure",
          down.found && std::abs(down.pressure - mapPressure(4096)) < 257 && near(down.x, mapX(x0 | 1)),
          "pressure " + std::to_string(down.pressure) + " x " + std::to_string(down.x));
  const std::size_t touch = indexOf(all, EV_KEY, BTN_TOUCH, 1);
  const Frame drag1 = frameOf(all, EV_ABS, ABS_PRESSURE, mapPressure(6144), touch);
  const Frame drag2 = frameOf(all, EV_ABS, ABS_PRESSURE, mapPressure(8192), touch);
  c.check("drag_moves_with_changing_pressure",
          drag1.found && near(drag1.x, mapX(x1 + 4000)) && drag2.found &&
              near(drag2.x, mapX(x2)) && near(drag2.y, mapY(y0 + 5000)));
  const std::size_t up = indexOf(all, EV_KEY, BTN_TOUCH, 0);
  const Frame lifted = frameOf(all, EV_KEY, BTN_TOUCH, 0);
  // The pen's first proximity-out is the pair that announces it.
  const std::size_t out = indexOf(all, EV_KEY, BTN_TOOL_PEN, 0, up);
  c.check("tip_up_then_out_of_proximity",
          lifted.found && lifted.pressure == 0 && up > touch && out > up && out < all.size());
  c.check("nothing_left_pressed_after_stroke",
          !pen.keyDown(BTN_TOUCH) && !pen.keyDown(BTN_TOOL_PEN) && pen.absValue(ABS_PRESSURE) == 0);
}

// The events of the next `frames` frames holding type/code.
Events readFrames(EvdevNode& node, std::uint16_t type, std::uint16_t code, int frames) {
  Events events;
  for (int i = 0; i < frames; ++i) {
    const Events more = node.readUntil(type, code, kEventTimeoutMs);
    events.insert(events.end(), more.begin(), more.end());
  }
  return events;
}

using CodesAndValues = std::vector<std::pair<int, int>>;

CodesAndValues codesAndValues(const Events& events, std::uint16_t type) {
  CodesAndValues seen;
  for (const auto& e : events)
    if (e.type == type) seen.emplace_back(e.code, e.value);
  return seen;
}

void expressKey(Checks& c, UhidTablet& tablet, EvdevNode& keyboard) {
  keyboard.drain(50);
  tapExpressKey(tablet, 1);
  const Events events = readFrames(keyboard, EV_KEY, KEY_LEFTCTRL, 2);
  const CodesAndValues expected = {{KEY_LEFTCTRL, 1}, {KEY_Z, 1}, {KEY_Z, 0}, {KEY_LEFTCTRL, 0}};
  c.check("express_key_runs_its_chord", codesAndValues(events, EV_KEY) == expected,
          describe(events));
}

// Express key 4 scrolls back by 5 pixels when pressed and again when released
// (the settings file's shortcut): half a detent each.
void scrollKey(Checks& c, UhidTablet& tablet, EvdevNode& keyboard) {
  keyboard.drain(50);
  tapExpressKey(tablet, 4);
  const Events events = readFrames(keyboard, EV_REL, REL_WHEEL, 1);
  const CodesAndValues expected = {
      {REL_WHEEL_HI_RES, -60}, {REL_WHEEL_HI_RES, -60}, {REL_WHEEL, -1}};
  c.check("scroll_key_turns_the_high_resolution_wheel", codesAndValues(events, EV_REL) == expected,
          describe(events));
}

// Stylus button 1 clicks the right mouse button: down while held, up when the
// button is let go (the settings file's shortcut).
void stylusButton(Checks& c, UhidTablet& tablet, EvdevNode& keyboard) {
  keyboard.drain(50);
  sendGroup(tablet, penReport(kStatusButton1, 5001, 5000, 0), 2);
  sendGroup(tablet, penReport(kStatusHover, 5000, 5000, 0), 2);
  sendGroup(tablet, penReport(kStatusOut, 5000, 5000, 0), 4);
  const Events events = readFrames(keyboard, EV_KEY, BTN_RIGHT, 2);
  const CodesAndValues expected = {{BTN_RIGHT, 1}, {BTN_RIGHT, 0}};
  c.check("stylus_button_clicks_the_right_button", codesAndValues(events, EV_KEY) == expected,
          describe(events));
}

void unplugDuringDrag(Checks& c, std::unique_ptr<UhidTablet>& tablet, EvdevNode& pen) {
  pen.drain(50);
  sendGroup(*tablet, penReport(kStatusHover, 40000, 20000, 0), 8);
  sendGroup(*tablet, penReport(kStatusTip, 40001, 20000, 6000), 8);
  sendGroup(*tablet, penReport(kStatusTip, 42001, 21000, 7000), 4);
  // Unplugged once the drag has reached its last pressure, not after a fixed
  // time: the tip is then surely down on the virtual pen.
  const auto dragEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(kEventTimeoutMs);
  bool dragged = false;
  while (!dragged && std::chrono::steady_clock::now() < dragEnd) {
    const Events more = pen.readUntil(EV_ABS, ABS_PRESSURE, kEventTimeoutMs);
    for (const auto& e : more)
      dragged = dragged || (e.type == EV_ABS && e.code == ABS_PRESSURE && e.value == mapPressure(7000));
  }
  pen.drain(50);
  const bool wasDown = dragged && pen.keyDown(BTN_TOUCH);
  tablet.reset();  // unplug
  const Events after = pen.readUntil(EV_KEY, BTN_TOOL_PEN, kEventTimeoutMs);
  c.check("unplug_during_drag_releases_tip_and_proximity",
          wasDown && !pen.keyDown(BTN_TOUCH) && !pen.keyDown(BTN_TOOL_PEN) &&
              pen.absValue(ABS_PRESSURE) == 0,
          describe(after));
}

void replug(Checks& c, std::unique_ptr<UhidTablet>& tablet, EvdevNode& pen) {
  tablet = std::make_unique<UhidTablet>();
  c.check("start_command_sent_again_on_replug", startCommandArrived(*tablet, 1));
  sleepMs(100);
  const std::string node = kernelNodeOfTablet();
  EvdevNode kernel(node);
  c.check("kernel_node_grabbed_again", kernel.ok() && kernel.grabbedByOther(), node);
  pen.drain(50);
  sendGroup(*tablet, penReport(kStatusHover, 10000, 10000, 0), 8);
  const Events events = pen.readUntil(EV_KEY, BTN_TOOL_PEN, kEventTimeoutMs);
  const Frame in = frameOf(events, EV_KEY, BTN_TOOL_PEN, 1);
  c.check("reports_flow_after_replug", in.found && near(in.x, mapX(10000)), describe(events));
  sendGroup(*tablet, penReport(kStatusOut, 10000, 10000, 0), 8);
  pen.readUntil(EV_KEY, BTN_TOOL_PEN, kEventTimeoutMs);
}


void stoppedDriverLetsGo(Checks& c) {
  const std::string node = kernelNodeOfTablet();
  EvdevNode kernel(node);
  c.check("grab_released_at_exit", kernel.ok() && !kernel.grabbedByOther());
  c.check("virtual_pen_removed_at_exit", findEventNode("Taviro Virtual Pen", 0).empty());
}

// `sent` reports went to the recording driver.
void recording(Checks& c, int sent) {
  std::ifstream in("/tmp/reports.txt");
  std::string first;
  std::getline(in, first);
  int lines = first.empty() ? 0 : 1;
  for (std::string l; std::getline(in, l);) ++lines;
  c.check("record_file_holds_every_report",
          first.rfind("0.000000: 08 20", 0) == 0 && lines == sent,
          first + " (" + std::to_string(lines) + " lines)");
}


void showDriverLogs() {
  for (const char* path : {"/tmp/driver.log", "/tmp/driver2.log"}) {
    std::istringstream log(readFile(path));
    for (std::string line; std::getline(log, line);) std::printf("VM-LOG %s\n", line.c_str());
  }
}


// Without /dev/uinput the driver keeps running, posts nothing and says what
// to do.
void withoutUinput(Checks& c) {
  std::rename("/dev/uinput", "/dev/uinput.off");
  const pid_t driver = startDriver(kDriverArgs, "/tmp/no-uinput.log");
  // Stopped once it has said everything, not after a fixed time: a signal
  // before the driver thread has tried the pen would miss its lines.
  waitForLog("/tmp/no-uinput.log",
             {"[-warn-] error opening HID service", "Cannot create the virtual pen on /dev/uinput"},
             kStartTimeoutMs);
  const int status = stopDriver(driver, kStartTimeoutMs);
  std::rename("/dev/uinput.off", "/dev/uinput");
  const std::string log = readFile("/tmp/no-uinput.log");
  const bool explained = WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
                         log.find("[-warn-] error opening service") != std::string::npos &&
                         log.find("[-warn-] error opening HID service") != std::string::npos &&
                         log.find("Cannot create the virtual pen on /dev/uinput") != std::string::npos &&
                         log.find("Cannot create the virtual keyboard on /dev/uinput") != std::string::npos;
  c.check("missing_uinput_is_explained", explained, explained ? "" : log);
}

}  // namespace

int main() {
  Checks c;
  withoutUinput(c);
  LibinputEvents libinput;
  if (!c.check("libinput_started", libinput.start(kStartTimeoutMs))) return c.finish();
  // The tablet is plugged in before the driver starts (found by enumeration);
  // the replug later is found by the monitor.
  auto tablet = std::make_unique<UhidTablet>();
  if (!c.check("fake_tablet_created", tablet->ok())) return c.finish();
  sleepMs(200);
  pid_t driver = startDriver(kDriverArgs, "/tmp/driver.log");

  const std::string penNode = findEventNode("Taviro Virtual Pen", kStartTimeoutMs);
  const std::string keyboardNode = findEventNode("Taviro Virtual Keyboard", kStartTimeoutMs);
  c.check("virtual_devices_created", !penNode.empty() && !keyboardNode.empty());
  c.check("start_command_sent_on_connection", startCommandArrived(*tablet, 1));
  sleepMs(100);
  {
    const std::string node = kernelNodeOfTablet();
    EvdevNode kernel(node);
    c.check("kernel_node_of_tablet_grabbed", kernel.ok() && kernel.grabbedByOther(), node);
  }
  int recorded = 0;  // reports sent while the recording driver ran
  if (!penNode.empty() && !keyboardNode.empty()) {
    const DesktopNodes desktop = desktopSeesTheVirtualDevices(c, libinput);
    EvdevNode pen(penNode);
    EvdevNode keyboard(keyboardNode);
    const std::size_t strokeStart = libinput.size();
    penStroke(c, *tablet, pen);
    strokeAsLibinputSeesIt(c, libinput, strokeStart, desktop.pen);
    expressKey(c, *tablet, keyboard);
    scrollKey(c, *tablet, keyboard);
    stylusButton(c, *tablet, keyboard);
    doubleClickGivesTwoClicks(c, *tablet, libinput, desktop.keyboard);
    unplugDuringDrag(c, tablet, pen);
    replug(c, tablet, pen);
    recorded = secondDriverWaitsForTheTablet(c, *tablet, libinput, desktop.pen, driver);
  }
  const int status = stopDriver(driver, kStartTimeoutMs);
  c.check("sigterm_ends_the_last_driver_cleanly", WIFEXITED(status) && WEXITSTATUS(status) == 0,
          "status " + std::to_string(status));
  stoppedDriverLetsGo(c);
  recording(c, recorded);
  showDriverLogs();
  return c.finish();
}
