#pragma once
// Checks through the desktop's own input stack in the test VM: udev's
// classification of the virtual devices and what libinput makes of their
// events.
#include <sys/types.h>

#include <cstddef>
#include <string>

#include "Checks.h"
#include "Libinput.h"
#include "UhidTablet.h"

namespace taviro::vm {

// The libinput nodes of the first virtual pen and the virtual keyboard.
struct DesktopNodes {
  std::string pen;
  std::string keyboard;
};

// udev tags the keyboard a mouse (or the desktop ignores its clicks), libinput
// takes the pen for a tablet and the keyboard for a keyboard with a pointer,
// and the pen gets Taviro's quirk (no smoothing of its own).
DesktopNodes desktopSeesTheVirtualDevices(Checks& c, const LibinputEvents& libinput);

// What libinput made of a stroke sent from index `from` on: one in/out pair
// announcing the pen, then in, tip down, tip up, out, with pressure, and no
// forced proximity-out while the pen hovered still before the tip went down.
void strokeAsLibinputSeesIt(Checks& c, const LibinputEvents& libinput, std::size_t from,
                            const std::string& pen);

// Express key 5's double click arrives as two clicks within a double-click
// time, the second press well after the first release.
void doubleClickGivesTwoClicks(Checks& c, UhidTablet& tablet, const LibinputEvents& libinput,
                               const std::string& keyboard);

// A second driver started while `driver` owns the tablet leaves it alone and
// takes it once `driver` stops; `driver` is then the second one. Checks the
// first one's clean stop on the way; answers how many reports were sent
// before it stopped.
int secondDriverWaitsForTheTablet(Checks& c, UhidTablet& tablet, const LibinputEvents& libinput,
                                   const std::string& pen, pid_t& driver);

}  // namespace taviro::vm
