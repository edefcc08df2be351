#include "app/SingleInstance.h"

#include <QLocalSocket>
#include <QStandardPaths>

namespace taviro {
namespace {

constexpr int kTimeoutMs = 1000;
const QByteArray kActivate = QByteArrayLiteral("activate\n");

}  // namespace

QString instanceSocketName() {
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  const QString name = QString::fromLatin1(kTaviroIdentifier);
  return runtime.isEmpty() ? name : runtime + QLatin1Char('/') + name;
}

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {
  connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::readRequest);
}

bool SingleInstance::claim() {
  if (askRunningCopyToActivate()) return false;
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  if (server_.listen(name_)) return true;
  // The name is taken: either a copy started in the meantime, or a crashed
  // copy left its socket behind. Only the second may be removed.
  if (askRunningCopyToActivate()) return false;
  QLocalServer::removeServer(name_);
  return server_.listen(name_);
}

bool SingleInstance::askRunningCopyToActivate() {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(kTimeoutMs)) return false;
  socket.write(kActivate);
  socket.waitForBytesWritten(kTimeoutMs);
  socket.disconnectFromServer();
  return true;
}

void SingleInstance::readRequest() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (!socket->canReadLine()) return;
      if (socket->readLine() == kActivate) emit activationRequested();
      socket->disconnectFromServer();
    });
  }
}

}  // namespace taviro
