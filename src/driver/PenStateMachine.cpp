#include "driver/PenStateMachine.h"

#include "driver/BTDriverManager.h"
#include "foundation/Log.h"

namespace taviro {

PenTransition decidePenTransition(const StylusState& cur, const StylusState& prev, bool dragging) {
  if (prev.off_tablet != cur.off_tablet) return PenTransition::ProximityChange;
  const bool tipNow = (cur.button_mask & kMaskTip) != 0;
  const bool tipBefore = (prev.button_mask & kMaskTip) != 0;
  if (tipBefore && !tipNow) return PenTransition::TipUp;
  if ((cur.button_mask & 0x7FFF) == kMaskTip && !tipBefore) return PenTransition::TipDown;
  const bool moved = !(cur.motion == Int32Point{});
  const bool active = moved || cur.pressure != prev.pressure;
  if (active && tipNow && !dragging) return PenTransition::DragStart;
  if (dragging) return active ? PenTransition::Drag : PenTransition::None;
  return moved ? PenTransition::Move : PenTransition::None;
}

namespace {
constexpr const char* kUpdate = "-[BTDriverManager updateStylusStatus]";
constexpr int kTipKey = 7;
}  // namespace

void BTDriverManager::updateStylusStatus() {
  const std::uint16_t cur = stylus_.button_mask;
  const bool release = (cur & kMaskKeysReleased) != 0 ||
                       (oldStylus_.button[5] && (cur & kMaskStylusButton1) == 0) ||
                       (oldStylus_.button[6] && (cur & kMaskStylusButton2) == 0);
  const bool down = (cur & 0x7F7F) != 0;
  const std::uint16_t unlatchedBefore = unlatchedKeysDown_;

  // Keys going down: stylus buttons run their shortcut once per press (the
  // pen_near latch), express keys on every report that carries them.
  if (down) {
    const unsigned pressed = cur & 0xFF7Fu;
    for (int k = 0; k < 16; ++k) {
      if (((pressed >> k) & 1) == 0) continue;
      if (k == 5 || k == 6) {
        if (!stylus_.pen_near) runShortcut(k, down);
        stylus_.pen_near = true;
      } else {
        runShortcut(k, down);
        if (k >= kLatchedButtons) unlatchedKeysDown_ |= static_cast<std::uint16_t>(1u << k);
      }
    }
  }

  if (release) releaseKeys(unlatchedBefore);

  switch (decidePenTransition(stylus_, oldStylus_, isDragging_)) {
    case PenTransition::ProximityChange:
      postProximityEvent();
      TAVIRO_LOG(kUpdate, kLogInfo, ">>>Stylus has %s proximity",
                 stylus_.off_tablet ? "exited" : "entered");
      oldStylus_.off_tablet = stylus_.off_tablet;
      isDragging_ = false;
      break;
    case PenTransition::TipUp:
      TAVIRO_LOG(kUpdate, kLogInfo, ">>>mouseUp -drag ended");
      postButtonEvent(NX_LMOUSEUP, 0);
      isDragging_ = false;
      break;
    case PenTransition::TipDown:
      TAVIRO_LOG(kUpdate, kLogInfo, ">>>mouseDown");
      postButtonEvent(NX_LMOUSEDOWN, 0);
      stylus_.motion = {};
      isDragging_ = false;
      break;
    case PenTransition::DragStart:
      TAVIRO_LOG(kUpdate, kLogInfo, ">>>drag started");
      isDragging_ = true;
      postMoveOrDragEvent(NX_LMOUSEDRAGGED);
      break;
    case PenTransition::Drag:
      postMoveOrDragEvent(NX_LMOUSEDRAGGED);
      break;
    case PenTransition::Move:
      postMoveOrDragEvent(NX_MOUSEMOVED);
      break;
    case PenTransition::None:
      break;
  }
}

void BTDriverManager::releaseKeys(std::uint16_t pressedBefore) {
  // Every latched key but the tip runs its shortcut again, as an up call even
  // when the report also presses another key: the chord or click its down
  // call pressed must come up. The latches of the last applied report are
  // the keys held before this one.
  for (int i = 0; i < kLatchedButtons; ++i) {
    if (i == kTipKey || !oldStylus_.button[i]) continue;
    runShortcut(i, false);
    oldStylus_.button[i] = false;
    stylus_.button[i] = false;
    oldStylus_.pen_near = false;
    stylus_.pen_near = false;
  }
  // So do express keys 11-16 that ran theirs before this report: without
  // this, a chord or click on them would stay pressed after the key came up.
  // One pressed by this very report stays down.
  for (int k = kLatchedButtons; k < 16; ++k) {
    if (((pressedBefore >> k) & 1) == 0) continue;
    runShortcut(k, false);
  }
  unlatchedKeysDown_ &= static_cast<std::uint16_t>(~pressedBefore);
}

void BTDriverManager::runShortcut(int key, bool down) {
  if (!tabletSettings_.tabletKeys) return;
  std::string command =
      platform_.shortcutLookup ? platform_.shortcutLookup->readShortcutForCmd(key) : std::string();
  ShortcutRunner* runner = platform_.shortcutRunner;
  if (!runner || !platform_.mainQueue) return;
  platform_.mainQueue->async(
      [runner, command = std::move(command), down, key] { runner->sendKeyboard(command, down, key); });
}

}  // namespace taviro
