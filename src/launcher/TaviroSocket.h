#pragma once
// Where one user's Taviro listens, shared by Taviro (its single-instance
// check) and Startlet (whether Taviro runs). The socket lives in a folder
// only this user can use, so another user's socket cannot take its name, and
// every connection is checked to come from, or lead to, this same user.
#include <QString>

namespace startlet {

// The local-socket name Taviro listens on; its bundle identifier.
inline constexpr const char* kTaviroIdentifier = "com.nivolt.Kestrom";

// $XDG_RUNTIME_DIR when it is a folder of this user that nobody else may
// use; otherwise "taviro-<uid>" in the temporary folder, made 0700 (or the
// first of "taviro-<uid>.1" .. ".9" that is, when another user took that
// name). Empty when none can be had.
QString privateRuntimeFolder();

// "com.nivolt.Kestrom" in the private runtime folder; empty without one.
QString taviroSocketName();

// Whether the other end of a connected local socket runs as this user.
bool peerIsThisUser(qintptr socketDescriptor);

// True when a Taviro of this user answers on its local socket. Connects and
// leaves again without asking for anything, so the running copy does not
// open its panel.
bool taviroIsRunning(const QString& socketName, int timeoutMs = 500);

}  // namespace startlet
