// Measures handing the desktop picture to the mapping editor in memory against
// a PNG round trip. Prints figures; not a test. Run: bench_ScreenShotHandOver [rounds]
#include <QBuffer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>

#include "platform/qt/ScreenShot.h"

using namespace taviro;

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
  QImage shot(1920, 1080, QImage::Format_RGB32);  // with detail, so PNG has work to do
  QPainter painter(&shot);
  QLinearGradient gradient(0, 0, 1920, 1080);
  gradient.setColorAt(0, QColor(0x1a, 0x73, 0xe8));
  gradient.setColorAt(1, QColor(0xfb, 0xbc, 0x04));
  painter.fillRect(shot.rect(), gradient);
  for (int i = 0; i < 400; ++i)
    painter.drawText(i * 37 % 1880, i * 11 % 1080, QStringLiteral("Taviro 타블렛"));
  painter.end();
  const std::vector<taviro::Display> displays = {
      {1, Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1080), 0},
      {2, Rect(1920, 0, 1920, 1080), Rect(1920, 0, 1920, 1080), 0}};
  double ms[3] = {};  // compose, encode, decode
  QByteArray png;
  for (int i = 0; i < rounds; ++i) {
    QElapsedTimer timer;
    timer.start();
    const QImage picture = composeDesktop(displays, [&](const taviro::Display&) { return shot; });
    ms[0] += double(timer.nsecsElapsed()) / 1e6;
    png.clear();
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    timer.restart();
    picture.save(&buffer, "PNG");
    ms[1] += double(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    QImage().loadFromData(png, "PNG");
    ms[2] += double(timer.nsecsElapsed()) / 1e6;
  }
  std::printf("desktop picture 3840 x 1080, %d rounds, mean per round:\n"
              "  composed in memory   %8.1f ms\n  PNG encoding         %8.1f ms (%lld KiB)\n"
              "  PNG decoding         %8.1f ms\n",
              rounds, ms[0] / rounds, ms[1] / rounds, static_cast<long long>(png.size() / 1024),
              ms[2] / rounds);
  return 0;
}
