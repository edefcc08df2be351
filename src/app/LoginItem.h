#pragma once
// The login item: Startlet, registered through XDG autostart so the desktop
// starts it at every login.
#include <QString>

namespace taviro {

inline constexpr const char* kStartletIdentifier = "com.nivolt.Startlet";

// Startlet's executable inside the application folder of Taviro's executable
// directory (…/Taviro.app/Contents/MacOS).
QString startletExecutableFor(const QString& taviroExecutableDir);

// Writes "<autostartDir>/com.nivolt.Startlet.desktop" (atomically) starting
// `startletExecutable`. False when Startlet is missing or the file cannot be
// written.
bool registerLoginItem(const QString& autostartDir, const QString& startletExecutable);

// $XDG_CONFIG_HOME/autostart, or ~/.config/autostart.
QString defaultAutostartDir();

}  // namespace taviro
