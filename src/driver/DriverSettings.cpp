#include <cstdio>

#include "display/ScreenGeometry.h"
#include "driver/BTDriverManager.h"
#include "driver/Truncate.h"
#include "foundation/Log.h"

namespace taviro {

namespace {

std::optional<Value> stored(UserDefaults* defaults, const char* key) {
  return defaults ? defaults->objectForKey(key) : std::nullopt;
}

// Scalar keys count only when they hold a number.
std::optional<Value> storedNumber(UserDefaults* defaults, const char* key) {
  std::optional<Value> v = stored(defaults, key);
  if (v && v->isNumber()) return v;
  return std::nullopt;
}

// Array keys: the first `count` elements, each read through single
// precision. Anything but an array that long counts as absent (indexing it
// would read past its end).
std::optional<std::vector<double>> storedFloats(UserDefaults* defaults, const char* key,
                                                std::size_t count) {
  const std::optional<Value> v = stored(defaults, key);
  if (!v) return std::nullopt;
  const Value::Array* array = v->asArray();
  if (!array || array->size() < count) {
    logBare("Ignoring the stored value of %s: expected an array of %zu numbers", key, count);
    return std::nullopt;
  }
  std::vector<double> out;
  for (std::size_t i = 0; i < count; ++i) out.push_back(double{(*array)[i].floatValue()});
  return out;
}

Value rectValue(const Rect& r) {
  return Value(Value::Array{r.origin.x, r.origin.y, r.size.width, r.size.height});
}

Rect intRect(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
  return Rect(x, y, w, h);
}

}  // namespace

NotificationCenter& BTDriverManager::center() const {
  return platform_.notifications ? *platform_.notifications : NotificationCenter::defaultCenter();
}

void BTDriverManager::setPressureDamping(float damping) {
  pressureDamping_ = damping;
  pressureMod_ = damping - 0.5f + 1.0f;
  TAVIRO_LOG("-[BTDriverManager setPressureDamping:]", kLogInfo, "pressure damping %f mod is %f",
             double{damping}, double{pressureMod_.load()});
}

void BTDriverManager::setPressureDeadZone(float deadZone) { pressureDeadZone_ = deadZone; }

void BTDriverManager::setSmoothingLevel(int level) {
  smoothingLevel_ = level;
  TAVIRO_LOG("-[BTDriverManager setSmoothingLevel:]", kLogInfo, "smoothing level set to %d", level);
  postUpdateNotification();
}

void BTDriverManager::setCursorOffset(Point offset) {
  cursorOffset_.store(offset);
  if (platform_.defaults) {
    platform_.defaults->setObject(DriverKeys::offset, Value(Value::Array{offset.x, offset.y}));
    platform_.defaults->synchronize();
  }
  // The point as text, in the form "{x, y}".
  TAVIRO_LOG("-[BTDriverManager setCursorOffset:]", kLogInfo, "offset set to {%g, %g}", offset.x,
             offset.y);
  postUpdateNotification();
}

void BTDriverManager::setTabletRotation(int degrees) {
  tabletRotation_ = degrees;
  tabletSettings_.rotation = degrees;
}

void BTDriverManager::setEnableMouse(bool on) {
  enableMouse_ = on;
  tabletSettings_.mouseMode = on;
}

void BTDriverManager::setEnableShourtcut(bool on) {
  enableShourtcut_ = on;
  tabletSettings_.tabletKeys = on;
}

void BTDriverManager::setDisplayId(int index) {
  displayId_ = index;
  tabletSettings_.displayID = index;
}

void BTDriverManager::setScreenArea(Rect area) {
  screenArea_.store(area);
  tabletSettings_.screenOffsetX = truncToInt32(area.origin.x);
  tabletSettings_.screenOffsetY = truncToInt32(area.origin.y);
  tabletSettings_.screenWidth = truncToInt32(area.size.width);
  tabletSettings_.screenHeight = truncToInt32(area.size.height);
}

void BTDriverManager::setTabletArea(Rect area) {
  tabletArea_.store(area);
  tabletSettings_.tabletOffsetX = truncToInt32(area.origin.x);
  tabletSettings_.tabletOffestY = truncToInt32(area.origin.y);
  tabletSettings_.tabletWidth = truncToInt32(area.size.width);
  tabletSettings_.tabletHeight = truncToInt32(area.size.height);
}

void BTDriverManager::setShowPressure(bool on) { showPressure_ = on; }

void BTDriverManager::setTabletMapping(Rect m) {
  const auto single = [](double v) { return double{static_cast<float>(v)}; };
  const double x = m.origin.x == -1 ? 0 : m.origin.x;
  const double y = m.origin.y == -1 ? 0 : m.origin.y;
  const double w = m.size.width == -1 ? tabletSettings_.tabletWidth.load() : m.size.width;
  const double h = m.size.height == -1 ? tabletSettings_.tabletHeight.load() : m.size.height;
  tabletMapping_.store(Rect(single(x), single(y), single(w), single(h)));
}

void BTDriverManager::updateTabletMapping() {
  setTabletMapping(intRect(tabletSettings_.tabletOffsetX, tabletSettings_.tabletOffestY,
                           tabletSettings_.tabletWidth, tabletSettings_.tabletHeight));
}

BTScreenManager& BTDriverManager::screenManager() {
  if (BTScreenManager* created = screenManagerCreated_.load(std::memory_order_acquire)) return *created;
  std::call_once(screenManagerOnce_, [this] {
    screenManager_ = std::make_unique<BTScreenManager>(*platform_.displays, center(), tabletSettings_);
    screenManagerCreated_.store(screenManager_.get(), std::memory_order_release);
  });
  return *screenManager_;
}

void BTDriverManager::initializeScreenSettings() {
  TAVIRO_LOG("-[BTDriverManager initializeScreenSettings]", kLogInfo, "initializing screen seettings");
  const Rect tablet = intRect(tabletSettings_.tabletOffsetX, tabletSettings_.tabletOffestY,
                              tabletSettings_.tabletWidth, tabletSettings_.tabletHeight);
  const Rect screen = intRect(tabletSettings_.screenOffsetX, tabletSettings_.screenOffsetY,
                              tabletSettings_.screenWidth, tabletSettings_.screenHeight);
  setTabletMapping(tablet);
  BTScreenManager& manager = screenManager();
  // The stored rotation applies from the start, not only once the mapping
  // editor has set it.
  manager.setRotation(tabletSettings_.rotation);
  manager.setScreenMapping(screen);
  setTabletArea(tablet);
  setScreenArea(screen);
}

void BTDriverManager::updateScreenSettings() { initializeScreenSettings(); }

void BTDriverManager::initConfig() {
  UserDefaults* d = platform_.defaults;
  const auto number = [d](const char* key) { return storedNumber(d, key); };

  const auto damping = number(DriverKeys::pressure);
  setPressureDamping(damping ? damping->floatValue() : 0.5f);
  const auto smoothing = number(DriverKeys::smoothing);
  setSmoothingLevel(smoothing ? smoothing->intValue() : 4);
  const auto offset = storedFloats(d, DriverKeys::offset, 2);
  setCursorOffset(offset ? Point{(*offset)[0], (*offset)[1]} : Point{});
  const auto rotation = number(DriverKeys::rotation);
  setTabletRotation(rotation ? rotation->intValue() : 0);
  const auto mouse = number(DriverKeys::enableMouse);
  setEnableMouse(mouse ? mouse->boolValue() : false);
  const auto shortcuts = number(DriverKeys::enableShortcut);
  setEnableShourtcut(shortcuts ? shortcuts->boolValue() : true);
  const auto display = number(DriverKeys::displayId);
  setDisplayId(display ? display->intValue() : 0);

  const auto screen = storedFloats(d, DriverKeys::screenArea, 4);
  if (screen) {
    setScreenArea(Rect((*screen)[0], (*screen)[1], (*screen)[2], (*screen)[3]));
  } else {
    const std::optional<Display> first =
        platform_.displays ? yk_objectAtIndex(platform_.displays->activeDisplays(), 0) : std::nullopt;
    setScreenArea(first ? screenSize(*first) : Rect());
  }
  const auto tablet = storedFloats(d, DriverKeys::tabletArea, 4);
  setTabletArea(tablet ? Rect((*tablet)[0], (*tablet)[1], (*tablet)[2], (*tablet)[3])
                       : Rect(0, 0, kTabletUnits, kTabletUnits));
  const auto deadZone = number(DriverKeys::pressureDeadZone);
  setPressureDeadZone(deadZone ? deadZone->floatValue() : 0.0f);

  // Rebuild the shared record whole: the setters above wrote the display,
  // the tablet and screen integers, tabletKeys, mouseMode and rotation; the
  // rest goes back to its fixed value.
  TabletSettings& s = tabletSettings_;
  s.compensation = 0;
  s.average = 0;
  s.pressureLevels = kTabletPressureLevels;
  s.vendorID = kTabletVendorID;
  s.productID = kTabletProductID;
  s.activeProfile = 0;
  s.noOfTabletKeys = 8;
  s.monitorArea.store(Rect());
  s.tabletArea.store(Rect(0, 0, kTabletUnits, kTabletUnits));
}

void BTDriverManager::saveSettings() {
  if (UserDefaults* d = platform_.defaults) {
    d->setObject(DriverKeys::smoothing, Value(smoothingLevel_.load()));
    d->setObject(DriverKeys::pressure, Value(pressureDamping_.load()));
    d->setObject(DriverKeys::rotation, Value(tabletRotation_.load()));
    d->setObject(DriverKeys::enableMouse, Value(enableMouse_.load()));
    d->setObject(DriverKeys::enableShortcut, Value(enableShourtcut_.load()));
    d->setObject(DriverKeys::displayId, Value(displayId_.load()));
    d->setObject(DriverKeys::pressureDeadZone, Value(pressureDeadZone_.load()));
    d->setObject(DriverKeys::screenArea, rectValue(screenArea_.load()));
    d->setObject(DriverKeys::tabletArea, rectValue(tabletArea_.load()));
  }
  if (platform_.shortcutStore) platform_.shortcutStore->saveShortcutConfig();
  if (platform_.defaults) platform_.defaults->synchronize();
}

void BTDriverManager::clearConfig() {
  if (UserDefaults* d = platform_.defaults) {
    for (const char* key : {DriverKeys::pressure, DriverKeys::smoothing, DriverKeys::offset,
                            DriverKeys::rotation, DriverKeys::enableMouse,
                            DriverKeys::enableShortcut, DriverKeys::displayId,
                            DriverKeys::screenArea, DriverKeys::tabletArea,
                            DriverKeys::shortcutSettings, DriverKeys::pressureDeadZone})
      d->removeObjectForKey(key);
    d->synchronize();
  }
  if (platform_.shortcutStore) platform_.shortcutStore->defaultShortcutConfig();
}

}  // namespace taviro
