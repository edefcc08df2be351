#include "app/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <cerrno>
#include <cstring>

#include "foundation/Log.h"

namespace taviro {
namespace {

constexpr int kTimeoutMs = 1000;
// How long a later copy waits for a first one that holds the lock but is
// not listening yet (it is starting at the same moment).
constexpr int kHandOverAttempts = 30;
constexpr unsigned long kHandOverPauseMs = 100;
const QByteArray kActivate = QByteArrayLiteral("activate\n");

// Drops a connection at once, whatever it still sends.
void drop(QLocalSocket* socket) {
  socket->abort();
  socket->deleteLater();
}

}  // namespace

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {
  connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::accept);
}

SingleInstance::~SingleInstance() {
  // The connections count themselves out as they go: while this still exists.
  qDeleteAll(server_.findChildren<QLocalSocket*>());
  if (lock_ >= 0) ::close(lock_);
}

bool SingleInstance::claim() {
  if (name_.isEmpty()) {
    logBare("No private folder for Taviro's socket (see $XDG_RUNTIME_DIR and $TMPDIR): running "
            "without the check for another copy");
    return true;
  }
  // The lock decides which copy runs, and it is held until this process ends,
  // however it ends: copies started together cannot both win, and a socket a
  // crashed copy left behind is removed only by the next holder.
  const QString lockPath = QDir(QDir::tempPath()).absoluteFilePath(name_ + QStringLiteral(".lock"));
  lock_ = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (lock_ < 0) {
    logBare("Cannot open %s (%s): checking for another copy by its socket only",
            qPrintable(lockPath), std::strerror(errno));
    if (askRunningCopyToActivate()) return false;
  } else if (::flock(lock_, LOCK_EX | LOCK_NB) != 0) {
    for (int attempt = 0; attempt < kHandOverAttempts && !askRunningCopyToActivate(); ++attempt)
      QThread::msleep(kHandOverPauseMs);
    return false;
  }
  QLocalServer::removeServer(name_);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_.listen(name_))
    logBare("Cannot listen on %s (%s): a second copy will not find this one",
            qPrintable(name_), qPrintable(server_.errorString()));
  return true;
}

bool SingleInstance::askRunningCopyToActivate() {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(kTimeoutMs) || !startlet::peerIsThisUser(socket.socketDescriptor()))
    return false;
  socket.write(kActivate);
  socket.waitForBytesWritten(kTimeoutMs);
  socket.disconnectFromServer();
  return true;
}

void SingleInstance::accept() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    if (connections_ >= kMaxConnections || !startlet::peerIsThisUser(socket->socketDescriptor())) {
      drop(socket);
      continue;
    }
    serve(socket);
  }
}

void SingleInstance::serve(QLocalSocket* socket) {
  ++connections_;
  connect(socket, &QObject::destroyed, this, [this] { --connections_; });
  connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
  // Qt stops reading from the system when the buffer is full, so a client
  // that never ends its line costs no more than this.
  socket->setReadBufferSize(kMaxRequestBytes);
  auto* idle = new QTimer(socket);
  idle->setSingleShot(true);
  connect(idle, &QTimer::timeout, socket, [socket] { drop(socket); });
  idle->start(kIdleTimeout);
  connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
    if (socket->canReadLine()) {
      if (socket->readLine(kMaxRequestBytes) == kActivate) emit activationRequested();
      drop(socket);
    } else if (socket->bytesAvailable() >= kMaxRequestBytes) {
      drop(socket);
    }
  });
}

}  // namespace taviro
