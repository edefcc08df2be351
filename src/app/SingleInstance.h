#pragma once
// One Taviro per user: the first copy listens on a local socket named after
// its bundle identifier; a later copy connects, asks the first to activate,
// and quits. A bare connection that sends nothing (Startlet's check) only
// tells that Taviro runs.
#include <QLocalServer>
#include <QObject>

namespace taviro {

inline constexpr const char* kTaviroIdentifier = "com.nivolt.Kestrom";

// The socket every copy of Taviro meets at: "com.nivolt.Kestrom" in the
// user's runtime folder ($XDG_RUNTIME_DIR). In the shared temporary folder
// another user's copy would hold the name and this user's Taviro could never
// start. Startlet looks in the same place.
QString instanceSocketName();

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  explicit SingleInstance(QString name, QObject* parent = nullptr);

  // True when this copy is the first and now listens; false when another copy
  // runs (it has been asked to activate).
  bool claim();

 signals:
  // Another copy was started and handed the focus to this one.
  void activationRequested();

 private:
  bool askRunningCopyToActivate();
  void readRequest();

  QString name_;
  QLocalServer server_;
};

}  // namespace taviro
