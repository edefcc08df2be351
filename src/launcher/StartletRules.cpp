#include "StartletRules.h"

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

}  // namespace startlet
