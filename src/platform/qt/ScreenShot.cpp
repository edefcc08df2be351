#include "platform/qt/ScreenShot.h"

#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include "foundation/Log.h"
#include "platform/qt/QtDisplayServices.h"

namespace taviro {
namespace {

QImage captureScreen(const QtDisplayServices& services, const Display& display) {
  QScreen* screen = services.screenFor(display.id);
  if (!screen) return {};
  return screen->grabWindow(0).toImage();
}

}  // namespace

QImage composeDesktop(const std::vector<Display>& displays, const DisplayCapture& capture) {
  Rect all = Rect::null();
  for (const Display& d : displays) {
    if (!d.mirrors()) all = unionRect(all, d.bounds);
  }
  if (all.isNull() || all.isEmpty()) {
    logBare("failed to create bitmap context");
    return {};
  }
  QImage picture(int(all.size.width), int(all.size.height), QImage::Format_ARGB32_Premultiplied);
  if (picture.isNull()) {
    logBare("failed to create bitmap context");
    return {};
  }
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  for (const Display& d : displays) {
    if (d.mirrors()) continue;
    const QImage shot = capture(d);
    if (shot.isNull()) continue;
    const QRectF target(d.bounds.minX() - all.minX(), d.bounds.minY() - all.minY(),
                        d.bounds.size.width, d.bounds.size.height);
    painter.drawImage(target, shot);
  }
  return picture;
}

QImage screenShot(const QtDisplayServices& services, qint32 index) {
  const std::vector<Display> displays = services.activeDisplays();
  if (displays.empty()) return {};
  if (static_cast<std::uint32_t>(index) < displays.size()) {
    return captureScreen(services, displays[static_cast<std::size_t>(index)]);
  }
  return composeDesktop(displays, [&](const Display& d) { return captureScreen(services, d); });
}

}  // namespace taviro
