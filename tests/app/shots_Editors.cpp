// Windows for scripts/screenshots.sh to photograph under Xvfb; not a test.
//   shots_Editors editor KEY       the shortcut editor of KEY, filled from the default shortcuts
//   shots_Editors tip KEY DISPLAY  the key tip of KEY on display DISPLAY, opened again every 2 s
//   shots_Editors pad              the panel's test page after pen strokes of changing pressure
//                                  (synthetic tablet events)
// Each runs until it is killed.
#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <QtMath>

#include "SyntheticPen.h"
#include "TestApp.h"
#include "app/BTPanelView.h"
#include "app/ShortcutSetting.h"
#include "app/ShowShoutcut.h"
#include "shortcuts/Configure.h"
#include "ui_Panel.h"

using namespace taviro;

namespace {

// Two waves across the pad: the pressure rises along the first and falls
// along the second.
void drawWaves(QWidget* pad) {
  for (int wave = 0; wave < 2; ++wave) {
    const qreal baseline = pad->height() * (wave ? 0.7 : 0.35);
    const auto at = [&](qreal t) {
      return QPointF(30 + t * (pad->width() - 60), baseline + 40 * qSin(t * 4 * M_PI));
    };
    const auto pressure = [wave](qreal t) { return wave ? 1 - t : t; };
    test::sendPen(pad, QEvent::TabletPress, at(0), pressure(0), true);
    constexpr int kSteps = 120;
    for (int i = 1; i <= kSteps; ++i)
      test::sendPen(pad, QEvent::TabletMove, at(qreal(i) / kSteps), pressure(qreal(i) / kSteps),
                    true);
    test::sendPen(pad, QEvent::TabletRelease, at(1), 0, false);
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QFont font = app.font();
  font.setFamilies({font.family(), QStringLiteral("Noto Sans CJK KR")});
  app.setFont(font);
  const QStringList args = app.arguments();
  const QString mode = args.value(1);
  const int key = args.value(2).toInt();

  UserDefaults defaults;
  Configure shortcuts(defaults, TAVIRO_DATA_DIR "/shortcut.json");
  std::unique_ptr<test::TestApp> panelApp;
  if (mode == QLatin1String("editor")) {
    ShortcutSetting::openForKey(shortcuts, key);
  } else if (mode == QLatin1String("tip")) {
    QScreen* screen = QGuiApplication::screens().value(args.value(3).toInt());
    auto* again = new QTimer(&app);
    QObject::connect(again, &QTimer::timeout, [&shortcuts, key, screen] {
      ShowShoutcut::showShortcutTip(shortcuts, key, screen);
    });
    again->start(2000);
    ShowShoutcut::showShortcutTip(shortcuts, key, screen);
  } else if (mode == QLatin1String("pad")) {
    panelApp = std::make_unique<test::TestApp>();
    if (!panelApp->start()) return 1;
    panelApp->driver.setIsConnected(true);
    panelApp->driver.postUpdateNotification();
    panelApp->delegate->togglePanel();
    QTimer::singleShot(1000, [&panelApp] {
      Ui::Panel& ui = panelApp->delegate->panelController().window().ui();
      ui.tabView->setCurrentIndex(2);
      ui.segCtrl->setCurrentIndex(2);
      QTimer::singleShot(300, [&ui] { drawWaves(ui.testPadView); });
    });
  } else {
    qWarning("usage: shots_Editors editor KEY | tip KEY DISPLAY | pad");
    return 2;
  }
  return app.exec();
}
