#pragma once
// Starts a program of the application folder (Taviro, Startlet) with private
// folders, which keep a Taviro the user runs, and the user's files, out of
// the test.
#include <QProcess>
#include <QTemporaryDir>

inline void startIsolated(QProcess& process, const QTemporaryDir& dir, const QString& program,
                          const QStringList& arguments = {}) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("TMPDIR"), dir.path());
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
  env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
  env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  process.setProcessEnvironment(env);
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program, arguments);
}
