#include "TaviroSocket.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <cerrno>

namespace startlet {

namespace {

constexpr int kFolderNames = 10;

// A real folder (no link), owned by this user, closed to everybody else.
bool isPrivate(const struct stat& st) {
  return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

// Our own folder in the shared temporary folder: made when missing, closed
// when we own it but others could use it.
bool claimFolder(const QByteArray& path) {
  struct stat st {};
  if (::lstat(path.constData(), &st) != 0) {
    if (errno != ENOENT || (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)) return false;
    if (::lstat(path.constData(), &st) != 0) return false;
  }
  if (S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) != 0 &&
      ::chmod(path.constData(), 0700) == 0)
    st.st_mode &= ~static_cast<mode_t>(077);
  return isPrivate(st);
}

}  // namespace

QString privateRuntimeFolder() {
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  struct stat st {};
  if (runtime.startsWith('/') && ::stat(runtime.constData(), &st) == 0 && isPrivate(st))
    return QFile::decodeName(runtime);
  const QString base = QDir::tempPath() + QStringLiteral("/taviro-") + QString::number(::getuid());
  for (int n = 0; n < kFolderNames; ++n) {
    const QString candidate = n == 0 ? base : base + QLatin1Char('.') + QString::number(n);
    if (claimFolder(QFile::encodeName(candidate))) return candidate;
  }
  return {};
}

QString taviroSocketName() {
  const QString folder = privateRuntimeFolder();
  return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + QLatin1String(kTaviroIdentifier);
}

bool peerIsThisUser(qintptr socketDescriptor) {
  ucred peer{};
  socklen_t size = sizeof peer;
  return ::getsockopt(static_cast<int>(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
         peer.uid == ::getuid();
}

bool taviroIsRunning(const QString& socketName, int timeoutMs) {
  if (socketName.isEmpty()) return false;
  QLocalSocket socket;
  socket.connectToServer(socketName);
  const bool running = socket.waitForConnected(timeoutMs) && peerIsThisUser(socket.socketDescriptor());
  socket.abort();
  return running;
}

}  // namespace startlet
