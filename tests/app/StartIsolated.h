#pragma once
// Keeps a Taviro the user runs, and the user's files, out of the tests that
// start Taviro or look for its folders.
#include <QProcess>
#include <QTemporaryDir>

// Starts a program of the application folder (Taviro, Startlet) with private
// folders.
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

// Restores an environment variable a test changes, or unsets it again.
struct Environment {
  explicit Environment(const char* name)
      : name_(name), saved_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {}
  ~Environment() { had_ ? qputenv(name_, saved_) : qunsetenv(name_); }
  const char* name_;
  QByteArray saved_;
  bool had_;
};
