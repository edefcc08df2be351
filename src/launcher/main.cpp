// Startlet: started by the desktop at login, it starts Taviro unless Taviro
// already runs. It then stays until the session ends, like any login item;
// "--once" makes it leave after the check (scripts and tests use it).
#include <QCoreApplication>
#include <QProcess>
#include <QTextStream>

#include "StartletRules.h"

namespace {

void startTaviroUnlessRunning() {
  if (startlet::taviroIsRunning(startlet::taviroSocketName())) return;
  const QString bundle = startlet::bundlePathForExecutable(QCoreApplication::applicationFilePath());
  const QString taviro = startlet::taviroExecutableForBundle(bundle);
  // A failed start is not retried: the layout is wrong or Taviro is missing.
  if (!QProcess::startDetached(taviro, {})) {
    QTextStream(stderr) << "Startlet: could not start " << taviro << '\n';
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  startTaviroUnlessRunning();
  if (app.arguments().contains(QStringLiteral("--once"))) return 0;
  return app.exec();
}
