#pragma once
// Pictures of the displays for the mapping editor: one display, or the whole
// desktop composed from every display that mirrors no other. The picture is
// handed over in memory; nothing is written to disk.
#include <QImage>
#include <functional>

#include "display/DisplayServices.h"

namespace taviro {

class QtDisplayServices;

using DisplayCapture = std::function<QImage(const Display&)>;

// The desktop picture of `displays` (bounds in the top-left-origin space):
// as large as the union of the non-mirroring displays, each drawn at its
// place; a display whose capture fails stays clear. Null on failure.
QImage composeDesktop(const std::vector<Display>& displays, const DisplayCapture& capture);

// Display `index` of the list when it is one, the composed desktop otherwise.
// Main thread only (Qt grabs screens there). Null when there is no display.
QImage screenShot(const QtDisplayServices& services, qint32 index);

}  // namespace taviro
