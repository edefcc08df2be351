#pragma once
// Taviro's XDG desktop entries: the login item (Startlet, started by the
// desktop at every login) and the launcher in the desktop's menu.
#include <QString>

namespace taviro {

inline constexpr const char* kStartletIdentifier = "com.nivolt.Startlet";

// Startlet's executable inside the application folder of Taviro's executable
// directory (…/Taviro.app/Contents/MacOS).
QString startletExecutableFor(const QString& taviroExecutableDir);

// Makes "<autostartDir>/com.nivolt.Startlet.desktop" start
// `startletExecutable` at login. An entry that already starts it is left as
// it is, so a user who switched it off in the desktop's start-up settings
// (Hidden=true, X-GNOME-Autostart-enabled=false) keeps it off; a missing one
// is written, one pointing elsewhere rewritten (atomically, still off if it
// was). False when Startlet is missing, or the entry cannot be read or
// written.
bool registerLoginItem(const QString& autostartDir, const QString& startletExecutable);

// $XDG_CONFIG_HOME/autostart, or ~/.config/autostart.
QString defaultAutostartDir();

// Writes "<applicationsDir>/com.nivolt.Kestrom.desktop" from the template in
// Taviro's resources, with @EXEC@ and @ICON@ filled in, so the menu starts
// this very copy. False when the template is missing or nothing was written.
bool registerMenuEntry(const QString& applicationsDir, const QString& templatePath,
                       const QString& taviroExecutable, const QString& iconPath);

// $XDG_DATA_HOME/applications, or ~/.local/share/applications.
QString defaultApplicationsDir();

// True when a folder of the system's menu ($XDG_DATA_DIRS/applications)
// holds Taviro's entry, "com.nivolt.Kestrom.desktop", as the installed
// package does. Taviro then writes none into the user's folder, where it would
// hide the package's.
bool menuEntryInstalled();

}  // namespace taviro
