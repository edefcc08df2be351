// Starting Taviro: Startlet's path rule and its check for a running Taviro,
// the login item, and a second copy of Taviro handing over to the first.
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "StartIsolated.h"
#include "StartletRules.h"
#include "app/LoginItem.h"

namespace {

QString readText(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool writeText(const QString& path, const QString& text, QFile::Permissions permissions = {}) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size() &&
         (!permissions || file.setPermissions(permissions));
}

}  // namespace

class LaunchTest : public QObject {
  Q_OBJECT
 private slots:
  void startletFindsTaviroThreeLevelsUp_data() {
    QTest::addColumn<QString>("startletExecutable");
    QTest::addColumn<QString>("taviro");
    QTest::newRow("login-item layout")
        << "/opt/Taviro.app/Contents/Library/LoginItems/Startlet.app/Contents/MacOS/Startlet"
        << "/opt/Taviro.app/Contents/MacOS/Taviro";
    QTest::newRow("other folder names, same depth")
        << "/home/u/T.app/Contents/a/b/Startlet.app/Contents/MacOS/Startlet"
        << "/home/u/T.app/Contents/MacOS/Taviro";
    QTest::newRow("too shallow gives a wrong path")
        << "/opt/Taviro.app/Contents/LoginItems/Startlet.app/Contents/MacOS/Startlet"
        << "/opt/Taviro.app/MacOS/Taviro";
    QTest::newRow("doubled slashes")
        << "/opt//Taviro.app/Contents/Library/LoginItems/Startlet.app/Contents/MacOS/Startlet"
        << "/opt/Taviro.app/Contents/MacOS/Taviro";
  }

  void startletFindsTaviroThreeLevelsUp() {
    QFETCH(QString, startletExecutable);
    QFETCH(QString, taviro);
    const QString bundle = startlet::bundlePathForExecutable(startletExecutable);
    QVERIFY(bundle.endsWith(QLatin1String("Startlet.app")));
    QCOMPARE(startlet::taviroExecutableForBundle(bundle), taviro);
  }

  void startletStartsTaviroOnlyWhenNoneRuns() {
    QTemporaryDir dir;
    // A copy of the application folder whose "Taviro" only leaves a mark.
    const QString contents = dir.filePath(QStringLiteral("Taviro.app/Contents"));
    const QString startlet = contents + "/Library/LoginItems/Startlet.app/Contents/MacOS/Startlet";
    QVERIFY(QDir().mkpath(QFileInfo(startlet).path()) && QDir().mkpath(contents + "/MacOS"));
    QVERIFY(QFile::copy(QStringLiteral(STARTLET_EXECUTABLE), startlet));
    const QString mark = dir.filePath(QStringLiteral("started"));
    QVERIFY(writeText(contents + QStringLiteral("/MacOS/Taviro"),
                      QStringLiteral("#!/bin/sh\necho started >> '%1'\n").arg(mark),
                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const auto runStartlet = [&] {
      QProcess process;
      startIsolated(process, dir, startlet, {QStringLiteral("--once")});
      QVERIFY(process.waitForFinished(5000));
      QCOMPARE(process.exitCode(), 0);
    };
    {
      // A Taviro runs: its socket answers in the same runtime folder.
      QLocalServer running;
      QVERIFY(running.listen(dir.filePath(QStringLiteral("com.nivolt.Kestrom"))));
      runStartlet();
      QTest::qWait(300);
      QVERIFY(!QFile::exists(mark));
    }
    runStartlet();
    QTRY_VERIFY(QFile::exists(mark));
  }

  void desktopEntriesStartStartletAtLoginAndThisCopyFromTheMenu() {
    QTemporaryDir dir;
    const QString autostart = dir.filePath(QStringLiteral("config/autostart"));
    const QString startlet = QFileInfo(QStringLiteral(STARTLET_EXECUTABLE)).absoluteFilePath();
    const QString taviroDir = QFileInfo(QStringLiteral(TAVIRO_EXECUTABLE)).absolutePath();
    QVERIFY(!taviro::registerLoginItem(autostart, dir.filePath(QStringLiteral("no-startlet"))));
    QVERIFY(!QFile::exists(autostart + "/com.nivolt.Startlet.desktop"));
    // Registered on every start.
    for (int start = 0; start < 2; ++start)
      QVERIFY(taviro::registerLoginItem(autostart, QStringLiteral(STARTLET_EXECUTABLE)));
    const QString login = readText(autostart + "/com.nivolt.Startlet.desktop");
    QVERIFY(login.startsWith(QLatin1String("[Desktop Entry]\n")));
    QVERIFY(login.contains(QStringLiteral("Exec=\"%1\"\n").arg(startlet)));
    QVERIFY(login.contains(QStringLiteral("\nTryExec=%1\n").arg(startlet)));
    QCOMPARE(taviro::startletExecutableFor(taviroDir), startlet);

    // The menu entry quotes a path with a space and escapes its '$'.
    const QString resources = taviroDir + QStringLiteral("/../Resources");
    const QString odd = dir.filePath(QStringLiteral("my apps/Taviro $1"));
    QVERIFY(taviro::registerMenuEntry(dir.filePath(QStringLiteral("applications")),
                                      resources + "/com.nivolt.Kestrom.desktop", odd,
                                      resources + "/taviro.svg"));
    const QString menu = readText(dir.filePath("applications/com.nivolt.Kestrom.desktop"));
    const QString exec = QStringLiteral("\nExec=\"%1\"\n").arg(dir.filePath("my apps/Taviro \\$1"));
    QVERIFY2(menu.contains(exec), qPrintable(menu));
    QVERIFY(menu.contains(QStringLiteral("\nName=Taviro\n")) && !menu.contains(QLatin1Char('@')));
    QVERIFY(!taviro::registerMenuEntry(dir.path(), dir.filePath("no-template"), odd, odd));
  }

  // What the user's autostart folder held before Taviro started, and what
  // it holds after: "@HERE@" stands for this Startlet, "@ELSE@" for another.
  void loginItemKeepsTheUsersChoiceAndRewritesOnlyAStaleEntry_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("after");  // lines the entry holds; empty: unchanged
    const QString head = QStringLiteral("[Desktop Entry]\nType=Application\nName=Startlet\n");
    QTest::newRow("hidden here") << head + "Exec=@HERE@\nHidden=true\n" << QStringList{};
    QTest::newRow("GNOME-disabled here")
        << head + "Exec=@HERE@\nX-GNOME-Autostart-enabled=false\n" << QStringList{};
    QTest::newRow("elsewhere") << head + "Exec=@ELSE@\n"
                               << QStringList{"Name=Taviro", "Exec=@HERE@",
                                              "X-GNOME-Autostart-enabled=true"};
    QTest::newRow("hidden elsewhere")
        << head + "Exec=@ELSE@\nHidden=true\n"
        << QStringList{"Exec=@HERE@", "X-GNOME-Autostart-enabled=true", "Hidden=true"};
    QTest::newRow("GNOME-disabled elsewhere")
        << head + "Exec=@ELSE@\nX-GNOME-Autostart-enabled=false\n"
        << QStringList{"Exec=@HERE@", "X-GNOME-Autostart-enabled=false"};
  }

  void loginItemKeepsTheUsersChoiceAndRewritesOnlyAStaleEntry() {
    QFETCH(QString, before);
    QFETCH(QStringList, after);
    QTemporaryDir dir;
    const QString startlet = dir.filePath(QStringLiteral("Startlet"));
    QVERIFY(writeText(startlet, {}, QFile::ReadOwner | QFile::ExeOwner));
    const auto fill = [&](QString text) {
      return text.replace(QStringLiteral("@HERE@"), QStringLiteral("\"%1\"").arg(startlet))
          .replace(QStringLiteral("@ELSE@"), QStringLiteral("\"/opt/old/Startlet\""));
    };
    const QString entry = dir.filePath(QStringLiteral("com.nivolt.Startlet.desktop"));
    QVERIFY(writeText(entry, fill(before)));

    QVERIFY(taviro::registerLoginItem(dir.path(), startlet));
    const QString text = readText(entry);
    if (after.isEmpty()) QCOMPARE(text, fill(before));
    for (const QString& line : after)
      QVERIFY2(text.split(QLatin1Char('\n')).contains(fill(line)), qPrintable(text));
    QCOMPARE(text.contains(QStringLiteral("Hidden=true")), before.contains("Hidden=true"));
  }

  void loginItemThatCannotBeReadIsNotReplaced() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("com.nivolt.Startlet.desktop")));
    QVERIFY(!taviro::registerLoginItem(dir.path(), QStringLiteral(STARTLET_EXECUTABLE)));
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("com.nivolt.Startlet.desktop"))).isDir());
  }

  // Where Taviro's menu entry already is: "user" is the user's folder
  // ($XDG_DATA_HOME), "system" a folder of $XDG_DATA_DIRS, as the package's.
  void menuEntryCountsAsInstalledOnlyInTheSystemsMenu_data() {
    QTest::addColumn<QString>("entryIn");
    QTest::addColumn<bool>("installed");
    QTest::newRow("nowhere") << QString() << false;
    QTest::newRow("the user's folder (an uninstalled copy wrote it)") << "user" << false;
    QTest::newRow("a system folder") << "system" << true;
  }

  void menuEntryCountsAsInstalledOnlyInTheSystemsMenu() {
    QFETCH(QString, entryIn);
    QFETCH(bool, installed);
    QTemporaryDir dir;
    Environment dataHome("XDG_DATA_HOME"), dataDirs("XDG_DATA_DIRS");
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("user")).toLocal8Bit());
    qputenv("XDG_DATA_DIRS", (dir.filePath(QStringLiteral("other")) + QLatin1Char(':') +
                              dir.filePath(QStringLiteral("system")))
                                 .toLocal8Bit());
    if (!entryIn.isEmpty()) {
      QVERIFY(QDir().mkpath(dir.filePath(entryIn + "/applications")));
      QVERIFY(writeText(dir.filePath(entryIn + "/applications/com.nivolt.Kestrom.desktop"), {}));
    }
    QCOMPARE(taviro::menuEntryInstalled(), installed);
  }

  void secondCopyHandsOverAndQuitsBeforeCreatingADriver() {
    QTemporaryDir dir;
    QProcess first;
    startIsolated(first, dir, QStringLiteral(TAVIRO_EXECUTABLE));
    QByteArray firstLog;
    QTRY_VERIFY_WITH_TIMEOUT((firstLog += first.readAll()).contains("created driver manager"),
                             10000);

    QProcess second;
    startIsolated(second, dir, QStringLiteral(TAVIRO_EXECUTABLE));
    QVERIFY(second.waitForFinished(10000));
    const QByteArray secondLog = second.readAll();
    QCOMPARE(second.exitCode(), 0);
    QVERIFY2(secondLog.contains("Taviro already runs"), secondLog.constData());
    QVERIFY(!secondLog.contains("created driver manager"));
    QVERIFY(!secondLog.contains("BTDriverManager"));
    // The first copy opened its panel on the hand-over.
    QTRY_VERIFY_WITH_TIMEOUT(
        (firstLog += first.readAll()).contains("another copy of Taviro was started"), 5000);
    QCOMPARE(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
  }
};

QTEST_MAIN(LaunchTest)
#include "tst_Launch.moc"
