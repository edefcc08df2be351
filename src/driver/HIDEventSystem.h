#pragma once
// The window system's low-level event input: the connection over which the
// driver posts pen, pointer and proximity events. The records below keep the
// classic HID event-system layout (a 48-byte event-data block whose mouse and
// mouse-move variants carry a tablet point or tablet proximity sub-record), so
// that a realisation can translate each field faithfully.
#include <cstddef>
#include <cstdint>

namespace taviro {

// Event location: the global top-left-origin display space, truncated to 16 bits.
struct IOGPoint {
  std::int16_t x = 0;
  std::int16_t y = 0;
  friend bool operator==(const IOGPoint&, const IOGPoint&) = default;
};

// Low-level event types the driver posts.
enum : std::uint32_t {
  NX_LMOUSEDOWN = 1,
  NX_LMOUSEUP = 2,
  NX_MOUSEMOVED = 5,
  NX_LMOUSEDRAGGED = 6,
  NX_TABLETPROXIMITY = 24,
};

// Mouse event sub-types: what the tablet sub-record holds.
enum : std::uint8_t {
  NX_SUBTYPE_DEFAULT = 0,
  NX_SUBTYPE_TABLET_POINT = 1,
  NX_SUBTYPE_TABLET_PROXIMITY = 2,
};

// Post options.
enum : std::uint32_t {
  kIOHIDPostNoOptions = 0,
  kIOHIDSetCursorPosition = 2,  // move the cursor to the event's location
};

inline constexpr std::uint32_t kNXEventDataVersion = 2;

struct NXTabletPointData {
  std::int32_t x = 0;  // absolute tablet coordinates
  std::int32_t y = 0;
  std::int32_t z = 0;
  std::uint16_t buttons = 0;
  std::uint16_t pressure = 0;  // 0..65535
  struct {
    std::int16_t x = 0;
    std::int16_t y = 0;
  } tilt;
  std::uint16_t rotation = 0;
  std::int16_t tangentialPressure = 0;
  std::uint16_t deviceID = 0;
  std::int16_t vendor1 = 0;
  std::int16_t vendor2 = 0;
  std::int16_t vendor3 = 0;
};

struct NXTabletProximityData {
  std::uint16_t vendorID = 0;
  std::uint16_t tabletID = 0;
  std::uint16_t pointerID = 0;
  std::uint16_t deviceID = 0;
  std::uint16_t systemTabletID = 0;
  std::uint16_t vendorPointerType = 0;
  std::uint32_t pointerSerialNumber = 0;
  std::uint64_t uniqueID = 0;
  std::uint32_t capabilityMask = 0;
  std::uint8_t pointerType = 0;  // 1 = pen
  std::uint8_t enterProximity = 0;
  std::int16_t reserved1 = 0;
};

union NXTabletData {
  NXTabletPointData point;
  NXTabletProximityData proximity;
  NXTabletData() : point{} {}
};

// Button events (types 1, 2).
struct NXMouseData {
  std::uint8_t subx = 0;
  std::uint8_t suby = 0;
  std::int16_t eventNum = 0;
  std::int32_t click = 0;
  std::uint8_t pressure = 0;  // 0..255
  std::uint8_t buttonNumber = 0;
  std::uint8_t subType = 0;
  std::uint8_t reserved2 = 0;
  std::int32_t reserved3 = 0;
  NXTabletData tablet;
};

// Move and drag events (types 5, 6), and the first post of a proximity change.
struct NXMouseMoveData {
  std::int32_t dx = 0;
  std::int32_t dy = 0;
  std::uint8_t subx = 0;
  std::uint8_t suby = 0;
  std::uint8_t subType = 0;
  std::uint8_t reserved1 = 0;
  std::int32_t reserved2 = 0;
  NXTabletData tablet;
};

// The event-data block. A tablet proximity event (type 24) carries the
// proximity record at the start of the block (`tablet.proximity`).
union NXEventData {
  NXMouseData mouse;
  NXMouseMoveData mouseMove;
  NXTabletData tablet;
  std::uint8_t bytes[48];
  NXEventData() : bytes{} {}
};

static_assert(sizeof(NXTabletPointData) == 32);
static_assert(sizeof(NXTabletProximityData) == 32);
static_assert(sizeof(NXMouseData) == 48);
static_assert(sizeof(NXMouseMoveData) == 48);
static_assert(sizeof(NXEventData) == 48);

// How opening the connection went. Opened: posts go to the window system.
// NoService: nothing to post to; the driver carries on and posts go nowhere.
// NoMasterPort and OpenFailed: `result` holds the error.
enum class HIDEventSystemOpen { Opened, NoMasterPort, NoService, OpenFailed };

struct HIDEventSystemOpenResult {
  HIDEventSystemOpen outcome = HIDEventSystemOpen::Opened;
  int result = 0;  // 0 = success, else the platform's error code
};

// The connection to the HID event system. open/close run on the thread that
// runs the driver's device work; post and flush run on the driver thread for
// every event, and must not allocate on the common path.
class HIDEventSystem {
 public:
  virtual ~HIDEventSystem() = default;
  virtual HIDEventSystemOpenResult open() = 0;
  // Returns 0 on success.
  virtual int close() = 0;
  // Event-data version kNXEventDataVersion, event flags 0. The result is not
  // examined. A realisation may hold posts back until flush().
  virtual void post(std::uint32_t type, IOGPoint location, const NXEventData& data,
                    std::uint32_t options) = 0;
  // Sends what the posts since the last flush held back. The driver calls it
  // once it has handled a report (or a removal) that posted, so that the
  // events of one report go out together.
  virtual void flush() {}
};

}  // namespace taviro
