#include "StartletRules.h"

#include <QLocalSocket>
#include <QStandardPaths>
#include <QStringList>

namespace startlet {
namespace {

QStringList components(const QString& path) {
  return path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
}

QString joined(const QStringList& parts, bool absolute) {
  const QString body = parts.join(QLatin1Char('/'));
  return absolute ? QLatin1Char('/') + body : body;
}

}  // namespace

QString bundlePathForExecutable(const QString& executablePath) {
  QStringList parts = components(executablePath);
  // Startlet, MacOS, Contents
  for (int i = 0; i < 3 && !parts.isEmpty(); ++i) parts.removeLast();
  return joined(parts, executablePath.startsWith(QLatin1Char('/')));
}

QString taviroExecutableForBundle(const QString& startletBundlePath) {
  QStringList parts = components(startletBundlePath);
  for (int i = 0; i < 3 && !parts.isEmpty(); ++i) parts.removeLast();
  parts << QStringLiteral("MacOS") << QString::fromLatin1(kTaviroExecutableName);
  return joined(parts, startletBundlePath.startsWith(QLatin1Char('/')));
}

QString taviroSocketName() {
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  const QString name = QString::fromLatin1(kTaviroIdentifier);
  return runtime.isEmpty() ? name : runtime + QLatin1Char('/') + name;
}

bool taviroIsRunning(const QString& socketName, int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(socketName);
  const bool running = socket.waitForConnected(timeoutMs);
  if (running) socket.disconnectFromServer();
  return running;
}

}  // namespace startlet
