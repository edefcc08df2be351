#include "app/LoginItem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace taviro {

QString startletExecutableFor(const QString& taviroExecutableDir) {
  return QDir::cleanPath(
      taviroExecutableDir +
      QStringLiteral("/../Library/LoginItems/Startlet.app/Contents/MacOS/Startlet"));
}

QString defaultAutostartDir() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/autostart");
}

namespace {

// An Exec value starting `path`: quoted (it may hold spaces), with '"', '\\',
// '`' and '$' escaped, and '%' doubled.
QString execFor(const QString& path) {
  QString quoted = path;
  quoted.replace(QLatin1Char('%'), QLatin1String("%%"));
  for (const char c : {'\\', '"', '`', '$'}) {
    quoted.replace(QLatin1Char(c), QString(QLatin1Char('\\')) + QLatin1Char(c));
  }
  return QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool writeEntry(const QString& dir, const QString& name, const QString& text) {
  if (!QDir().mkpath(dir)) return false;
  QSaveFile file(dir + QLatin1Char('/') + name);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(text.toUtf8());
  return file.commit();
}

}  // namespace

bool registerLoginItem(const QString& autostartDir, const QString& startletExecutable) {
  const QFileInfo startlet(startletExecutable);
  if (!startlet.isFile() || !startlet.isExecutable()) return false;
  const QString entry = QStringLiteral(
                            "[Desktop Entry]\n"
                            "Type=Application\n"
                            "Name=Startlet\n"
                            "Comment=Starts Taviro at login\n"
                            "Exec=%1\n"
                            "NoDisplay=true\n"
                            "X-GNOME-Autostart-enabled=true\n")
                            .arg(execFor(startlet.absoluteFilePath()));
  return writeEntry(autostartDir, QLatin1String(kStartletIdentifier) + QStringLiteral(".desktop"),
                    entry);
}

QString defaultApplicationsDir() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/applications");
}

bool registerMenuEntry(const QString& applicationsDir, const QString& templatePath,
                       const QString& taviroExecutable, const QString& iconPath) {
  QFile source(templatePath);
  if (!source.open(QIODevice::ReadOnly)) return false;
  QString entry = QString::fromUtf8(source.readAll());
  entry.replace(QStringLiteral("@EXEC@"), execFor(QFileInfo(taviroExecutable).absoluteFilePath()));
  entry.replace(QStringLiteral("@ICON@"), QFileInfo(iconPath).absoluteFilePath());
  return writeEntry(applicationsDir, QFileInfo(templatePath).fileName(), entry);
}

}  // namespace taviro
