#include "app/LoginItem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "app/SingleInstance.h"

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

// A TryExec value naming `path`: a plain string, only '\\' escaped. Desktops
// skip an entry whose TryExec program is gone, as after removing the package.
QString tryExecFor(QString path) {
  return path.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
}

bool writeEntry(const QString& dir, const QString& name, const QString& text) {
  if (!QDir().mkpath(dir)) return false;
  QSaveFile file(dir + QLatin1Char('/') + name);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(text.toUtf8());
  return file.commit();
}

// What Taviro reads of an existing login item: where it points and whether
// the user switched it off in the desktop's start-up settings.
struct AutostartEntry {
  bool present = false;
  bool readable = true;
  QString exec;
  bool hidden = false;
  bool gnomeDisabled = false;
};

// The keys of the file's [Desktop Entry] group.
AutostartEntry readAutostartEntry(const QString& path) {
  QFile file(path);
  AutostartEntry entry;
  entry.present = file.exists();
  if (!entry.present) return entry;
  entry.readable = file.open(QIODevice::ReadOnly);
  if (!entry.readable) return entry;
  bool inMainGroup = false;
  for (const QString& raw : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
    const QString line = raw.trimmed();
    if (line.startsWith(QLatin1Char('['))) {
      inMainGroup = line == QLatin1String("[Desktop Entry]");
      continue;
    }
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (!inMainGroup || eq < 0) continue;
    const QString key = line.left(eq).trimmed();
    const QString value = line.mid(eq + 1).trimmed();
    if (key == QLatin1String("Exec")) entry.exec = value;
    if (key == QLatin1String("Hidden")) entry.hidden = value == QLatin1String("true");
    if (key == QLatin1String("X-GNOME-Autostart-enabled"))
      entry.gnomeDisabled = value == QLatin1String("false");
  }
  return entry;
}

}  // namespace

bool registerLoginItem(const QString& autostartDir, const QString& startletExecutable) {
  const QFileInfo startlet(startletExecutable);
  if (!startlet.isFile() || !startlet.isExecutable()) return false;
  const QString name = QLatin1String(kStartletIdentifier) + QStringLiteral(".desktop");
  const QString exec = execFor(startlet.absoluteFilePath());
  const AutostartEntry old = readAutostartEntry(autostartDir + QLatin1Char('/') + name);
  // Never write over what could not be read; leave an entry that already
  // starts this Startlet as the user keeps it (switched off, delayed...).
  if (!old.readable) return false;
  if (old.present && old.exec == exec) return true;
  // An entry pointing elsewhere (a moved or older copy) is rewritten, and
  // stays off if the user had switched it off.
  QString entry =
      QStringLiteral(
          "[Desktop Entry]\n"
          "Type=Application\n"
          "Name=Taviro\n"
          "Comment=Starts the Taviro tablet driver at login\n"
          "Comment[ko]=로그인할 때 Taviro 타블렛 드라이버를 시작합니다\n"
          "Exec=%1\n"
          "TryExec=%2\n"
          "X-GNOME-Autostart-enabled=%3\n")
          .arg(exec, tryExecFor(startlet.absoluteFilePath()),
               old.gnomeDisabled ? QStringLiteral("false") : QStringLiteral("true"));
  if (old.hidden) entry += QStringLiteral("Hidden=true\n");
  return writeEntry(autostartDir, name, entry);
}

QString defaultApplicationsDir() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/applications");
}

bool menuEntryInstalled() {
  const QString userDir = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
  const QString name = QLatin1String(startlet::kTaviroIdentifier) + QStringLiteral(".desktop");
  for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation))
    if (dir != userDir && QFileInfo::exists(dir + QLatin1Char('/') + name)) return true;
  return false;
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
