// taviro-driver: the complete tablet driver without a user interface. Reads
// the settings from the user-defaults store, connects the tablet, posts pen
// events on a virtual pen and runs the express keys' shortcuts on a virtual
// keyboard. Logs to standard error; SIGINT or SIGTERM end it cleanly (grabs
// and virtual devices released).
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <unistd.h>
#include <vector>

#include "HeadlessDisplays.h"
#include "LoopQueue.h"
#include "ReportRecorder.h"
#include "driver/BTDriverManager.h"
#include "foundation/Log.h"
#include "platform/linux/LinuxHIDManager.h"
#include "platform/linux/SpawnLauncher.h"
#include "platform/linux/UinputKeyboard.h"
#include "platform/linux/UinputPen.h"
#include "platform/plist/PlistDefaultsStorage.h"
#include "shortcuts/Configure.h"
#include "shortcuts/InputEmulator.h"

namespace {

using namespace taviro;

struct Options {
  std::string recordPath;
  std::vector<Rect> displays;
};

void usage(std::FILE* out) {
  std::fprintf(out,
               "Usage: taviro-driver [--record FILE] [--display WxH[+X+Y]]...\n"
               "  --record FILE   write every raw report with its time to FILE\n"
               "                  (the format taviro-replay reads)\n"
               "  --display GEOM  a display of the desktop, in pixels; repeat for more,\n"
               "                  the first is the main display (default 1920x1080)\n");
}

// Exits with a message on bad arguments.
Options parseOptions(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      usage(stdout);
      std::exit(0);
    }
    if ((arg == "--record" || arg == "--display") && i + 1 >= argc) {
      std::fprintf(stderr, "taviro-driver: %s needs a value\n", argv[i]);
      std::exit(2);
    }
    if (arg == "--record") {
      o.recordPath = argv[++i];
    } else if (arg == "--display") {
      const auto rect = parseDisplayGeometry(argv[++i]);
      if (!rect) {
        std::fprintf(stderr, "taviro-driver: bad display geometry '%s' (e.g. 1920x1080+0+0)\n", argv[i]);
        std::exit(2);
      }
      o.displays.push_back(*rect);
    } else {
      std::fprintf(stderr, "taviro-driver: unknown argument '%s'\n", argv[i]);
      usage(stderr);
      std::exit(2);
    }
  }
  return o;
}

// The default shortcuts: $TAVIRO_DATA_DIR, the installed data folder next to
// the program, or the source tree's.
std::filesystem::path defaultShortcutFile() {
  namespace fs = std::filesystem;
  const std::string name(kDefaultShortcutFileName);
  std::vector<fs::path> candidates;
  if (const char* dir = std::getenv("TAVIRO_DATA_DIR")) candidates.emplace_back(fs::path(dir) / name);
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) candidates.push_back(exe.parent_path().parent_path() / "share" / "taviro" / name);
  candidates.emplace_back(fs::path(TAVIRO_SOURCE_DATA_DIR) / name);
  for (const fs::path& p : candidates)
    if (fs::exists(p, ec)) return p;
  return candidates.back();
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = parseOptions(argc, argv);

  // SIGINT and SIGTERM are taken by one thread with sigwait(); every other
  // thread inherits the blocked mask.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  ReportRecorder recorder;
  if (!options.recordPath.empty() && !recorder.open(options.recordPath)) {
    std::perror(("taviro-driver: cannot write " + options.recordPath).c_str());
    return 1;
  }

  LoopQueue mainQueue;
  // The same settings file as the desktop application.
  UserDefaults defaults(std::make_unique<PlistDefaultsStorage>());
  HeadlessDisplays displays(options.displays);
  linux_input::UinputPen pen(displays);
  linux_input::UinputKeyboard keyboard;
  linux_input::SpawnLauncher launcher;
  Configure shortcuts(defaults, defaultShortcutFile());
  InputEmulator emulator(keyboard, launcher);

  DriverPlatform platform;
  platform.defaults = &defaults;
  platform.eventSystem = &pen;
  platform.displays = &displays;
  platform.pointer = &displays;
  platform.mainQueue = &mainQueue;
  platform.shortcutLookup = &shortcuts;
  platform.shortcutRunner = &emulator;
  platform.shortcutStore = &shortcuts;
  const bool recording = !options.recordPath.empty();
  platform.hidManagerFactory = [&recorder, recording]() -> std::unique_ptr<HIDManager> {
    auto manager = std::make_unique<linux_input::LinuxHIDManager>();
    if (recording)
      manager->setReportTap([&recorder](const std::uint8_t* r, std::size_t n) { recorder.record(r, n); });
    return manager;
  };

  BTDriverManager driver(platform);
  driver.start();

  std::thread signals([&] {
    int sig = 0;
    sigwait(&stopSignals, &sig);
    logBare("taviro-driver: %s received, stopping", sig == SIGINT ? "SIGINT" : "SIGTERM");
    mainQueue.stop();
  });
  signals.detach();

  mainQueue.run();
  driver.shutdown();  // ends the driver thread, releases the grabs and the virtual pen
  recorder.close();
  logBare("taviro-driver: stopped");
  return 0;
}
