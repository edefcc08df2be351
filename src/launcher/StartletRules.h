#pragma once
// What Startlet decides at login: whether Taviro already runs, and where
// Taviro's executable lies relative to Startlet's own application folder.
#include <QString>

namespace startlet {

// The local-socket name Taviro listens on; its bundle identifier.
inline constexpr const char* kTaviroIdentifier = "com.nivolt.Kestrom";
inline constexpr const char* kTaviroExecutableName = "Taviro";

// Startlet's application folder ("…/Startlet.app") from the path of its
// executable ("…/Startlet.app/Contents/MacOS/Startlet").
QString bundlePathForExecutable(const QString& executablePath);

// Taviro's executable for Startlet's application folder: drop the last three
// components (Contents, Library, LoginItems of Taviro's folder hold Startlet's)
// and append "MacOS/Taviro". Only the depth matters, not the folder names.
QString taviroExecutableForBundle(const QString& startletBundlePath);

// Where Taviro listens: "com.nivolt.Kestrom" in the user's runtime folder
// ($XDG_RUNTIME_DIR), so another user's Taviro does not count.
QString taviroSocketName();

// True when a Taviro answers on its local socket. Connects and leaves again
// without asking for anything, so the running copy does not open its panel.
bool taviroIsRunning(const QString& socketName, int timeoutMs = 500);

}  // namespace startlet
