#pragma once
// One Taviro per user: the first copy holds a lock beside its local socket
// for as long as it runs, and listens on the socket; a later copy finds the
// lock taken, asks the first to activate, and quits. A bare connection that
// sends nothing (Startlet's check) only tells that Taviro runs.
//
// The socket serves only this user (every connection's peer is checked) and
// cannot be held: a few connections at a time, one short line each, and a
// connection that stays idle is closed.
#include <QLocalServer>
#include <QObject>
#include <chrono>

#include "TaviroSocket.h"

namespace taviro {

// The socket every copy of Taviro and Startlet meet at (see TaviroSocket.h).
inline QString instanceSocketName() { return startlet::taviroSocketName(); }

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  static constexpr int kMaxConnections = 8;
  static constexpr qint64 kMaxRequestBytes = 64;
  static constexpr std::chrono::milliseconds kIdleTimeout{2000};

  // `name`: the socket's path (or a bare name, placed in the temporary
  // folder); the lock is the same path with ".lock" appended.
  explicit SingleInstance(QString name, QObject* parent = nullptr);
  ~SingleInstance() override;

  // True when this copy is the first and now listens; false when another copy
  // runs (it has been asked to activate).
  bool claim();

 signals:
  // Another copy was started and handed the focus to this one.
  void activationRequested();

 private:
  bool askRunningCopyToActivate();
  void accept();
  void serve(QLocalSocket* socket);

  QString name_;
  QLocalServer server_;
  int lock_ = -1;
  int connections_ = 0;
};

}  // namespace taviro
