#include "mapping/MappingEditor.h"

#include <algorithm>
#include <climits>

#include "driver/BTDriverManager.h"
#include "driver/Truncate.h"
#include "mapping/MappingGeometry.h"

namespace taviro {
namespace {

// True when the area is due to be read (no draw since the last read);
// counts this draw.
bool takeRead(std::int32_t& drawsSinceRead) {
  const bool due = drawsSinceRead == 0;
  if (drawsSinceRead < INT32_MAX) ++drawsSinceRead;
  return due;
}

}  // namespace

MappingEditor::MappingEditor() {
  _tabletViewInfo._monitorRect = kTabletRects[0];
  _tabletViewInfo._monitorDropArea = kTabletRects[0];
  _tabletViewInfo.rebindTracker();
  _monitorViewInfo.rebindTracker();
}

void MappingEditor::setDriver(BTDriverManager* driver) {
  driver_ = driver;
  _tabletSettings = driver ? &driver->tabletSettings() : nullptr;
  flushMonitorCount = 0;
  flushTabletCount = 0;
}

void MappingEditor::needsDisplay() const {
  if (needsDisplay_) needsDisplay_();
}

EditorPicture MappingEditor::drawRect() {
  EditorPicture picture;
  tabletUpdate(picture);
  monitorUpdate(picture);
  reportTabletOffset();
  return picture;
}

void MappingEditor::tabletUpdate(EditorPicture& picture) {
  ViewInfo& t = _tabletViewInfo;
  picture.rotationIndex = _rotationIndex;
  picture.tabletImageRect = kTabletImagesRects[std::size_t(_rotationIndex)];
  if (_tabletSettings) {
    _settings& s = *_tabletSettings;
    const Size tablet = s.tabletArea.load().size;
    const Rect frame = kTabletRects[std::size_t(_rotationIndex)];
    const bool read = takeRead(flushTabletCount);
    if (read) {
      t._monitorDropArea = tabletAreaFromSettings(stored(s, kTabletFields), frame, tablet);
      t._monitorRect = frame;
      t.rebindTracker();
      t._monitorDrop = kDropIdle;
      t.grabbed = false;
    }
    const IntArea before = stored(s, kTabletFields);
    const IntArea written = tabletSettingsFromArea(t._monitorDropArea, t._monitorRect, tablet);
    store(s, kTabletFields, written);
    // The screen side re-applies both areas when it draws; this keeps the
    // pen in step while it cannot.
    if (!read && written != before) driver_->updateTabletMapping();
  }
  picture.tabletFrame = t._monitorRect;
  picture.tabletArea = t._monitorDropArea;
}

void MappingEditor::monitorUpdate(EditorPicture& picture) {
  ViewInfo& m = _monitorViewInfo;
  const Rect monitorArea = _tabletSettings ? _tabletSettings->monitorArea.load() : Rect();
  const std::optional<Rect> frame = displayFrame(_visibleRect, monitorArea);
  monitorShown_ = frame.has_value();
  if (!frame) {
    // Nothing to convert with: write nothing, and read the stored area once
    // there is a display to show it on.
    flushMonitorCount = 0;
    return;
  }
  _settings& s = *_tabletSettings;
  // A new display or view size: the area in the view no longer stands for
  // the stored one.
  if (*frame != m._monitorRect) flushMonitorCount = 0;
  if (takeRead(flushMonitorCount)) {
    m._monitorDropArea = screenAreaFromSettings(stored(s, kScreenFields), *frame, monitorArea);
    m._monitorRect = *frame;
    m.rebindTracker();
    m.grabbed = false;
  }
  store(s, kScreenFields, screenSettingsFromArea(m._monitorDropArea, m._monitorRect, monitorArea));
  driver_->updateScreenSettings();
  picture.monitorFrame = frame;
  picture.monitorArea = m._monitorDropArea;
  picture.displaySize = monitorArea.size;
}

void MappingEditor::reportTabletOffset() {
  if (!_tabletSettings) return;
  const TabletOffset offset = getTabletOffset();
  if (reportedOffset_ == offset) return;
  reportedOffset_ = offset;
  if (_updateTabletOffset) _updateTabletOffset(offset.left, offset.up, offset.right, offset.down);
}

void MappingEditor::selectMonitorIndex(std::int32_t index) {
  _monitorIndex = index;
  if (loadingSettings_) {
    flushMonitorCount = 0;
  } else {
    setFullScreen();
  }
  EditorPicture unused;
  monitorUpdate(unused);
  needsDisplay();
}

void MappingEditor::setFullScreen() {
  if (!_tabletSettings) return;
  const Rect m = _tabletSettings->monitorArea.load();
  if (m.isEmpty()) return;  // no display chosen yet
  flushMonitorCount = 0;
  store(*_tabletSettings, kScreenFields,
        IntArea{nearestInt32(m.minX()), nearestInt32(m.minY()), nearestInt32(m.size.width),
                nearestInt32(m.size.height)});
  needsDisplay();
}

void MappingEditor::rotateTablet(double degrees) {
  const std::int32_t index = truncToInt32(degrees / 90);
  if (index < 0 || index > 3) return;  // only the four quarter turns have a picture
  _rotationIndex = index;
  _tabletViewInfo._monitorRect = kTabletRects[std::size_t(index)];
  _tabletViewInfo._monitorDropArea = kTabletRects[std::size_t(index)];
  if (driver_) {
    _tabletSettings->rotation = truncToInt32(degrees);
    driver_->screenManager().setRotation(degrees);
  }
  needsDisplay();
}

void MappingEditor::initTabletRotate(double degrees) {
  rotateTablet(degrees);
  flushTabletCount = 0;
}

void MappingEditor::setTabletRotate(double degrees) {
  rotateTablet(degrees);
  setForceAspect(true);
}

void MappingEditor::setForceAspect(bool full) {
  if (!_tabletSettings) return;
  const _settings& s = *_tabletSettings;
  const std::optional<Size> factors =
      forceAspectFactors(full, Size{double(s.screenWidth), double(s.screenHeight)},
                         _tabletViewInfo._monitorRect, s.tabletArea.load().size);
  if (factors) resizeTabletArea(*factors);
}

void MappingEditor::resizeTabletArea(const Size& factors) {
  if (!_tabletSettings) return;
  ViewInfo& t = _tabletViewInfo;
  t._monitorDropArea =
      resizedTabletArea(factors, t._monitorRect, _tabletSettings->tabletArea.load().size);
  // The user's area from now on: no pending read may replace it.
  flushTabletCount = std::max(flushTabletCount, 1);
  needsDisplay();
}

void MappingEditor::adjustTabletOffset(const Rect& fractions) {
  ViewInfo& t = _tabletViewInfo;
  if (const std::optional<Rect> area = areaForTabletOffset(fractions, t._monitorRect)) {
    t._monitorDropArea = *area;
    flushTabletCount = std::max(flushTabletCount, 1);
  }
  reportedOffset_.reset();  // the fields show the area again, kept or not
  needsDisplay();
}

TabletOffset MappingEditor::getTabletOffset() const {
  return tabletOffsetOf(_tabletViewInfo._monitorDropArea, _tabletViewInfo._monitorRect);
}

void MappingEditor::setLoadingSettings(bool loading) {
  loadingSettings_ = loading;
  if (loading) {
    flushMonitorCount = 0;
    flushTabletCount = 0;
    needsDisplay();
  }
}

}  // namespace taviro
