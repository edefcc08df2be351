#include "app/LoginItem.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace taviro {

QString startletExecutableFor(const QString& taviroExecutableDir) {
  return QDir::cleanPath(taviroExecutableDir +
                         QStringLiteral("/../Library/LoginItems/Startlet.app/Contents/MacOS/Startlet"));
}

QString defaultAutostartDir() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/autostart");
}

bool registerLoginItem(const QString& autostartDir, const QString& startletExecutable) {
  const QFileInfo startlet(startletExecutable);
  if (!startlet.isFile() || !startlet.isExecutable()) return false;
  if (!QDir().mkpath(autostartDir)) return false;
  QSaveFile file(autostartDir + QLatin1Char('/') + QLatin1String(kStartletIdentifier) +
                 QStringLiteral(".desktop"));
  if (!file.open(QIODevice::WriteOnly)) return false;
  // Exec quotes the path (it may hold spaces); a literal '"' or '\' is escaped.
  QString exec = startlet.absoluteFilePath();
  exec.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
  const QString entry = QStringLiteral(
                            "[Desktop Entry]\n"
                            "Type=Application\n"
                            "Name=Startlet\n"
                            "Comment=Starts Taviro at login\n"
                            "Exec=\"%1\"\n"
                            "NoDisplay=true\n"
                            "X-GNOME-Autostart-enabled=true\n")
                            .arg(exec);
  file.write(entry.toUtf8());
  return file.commit();
}

}  // namespace taviro
