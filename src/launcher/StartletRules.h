#pragma once
// What Startlet decides at login: whether Taviro already runs, and where
// Taviro's executable lies relative to Startlet's own application folder.
#include <QString>

#include "TaviroSocket.h"

namespace startlet {

inline constexpr const char* kTaviroExecutableName = "Taviro";

// Startlet's application folder ("…/Startlet.app") from the path of its
// executable ("…/Startlet.app/Contents/MacOS/Startlet").
QString bundlePathForExecutable(const QString& executablePath);

// Taviro's executable for Startlet's application folder: drop the last three
// components (Contents, Library, LoginItems of Taviro's folder hold Startlet's)
// and append "MacOS/Taviro". Only the depth matters, not the folder names.
QString taviroExecutableForBundle(const QString& startletBundlePath);

}  // namespace startlet
