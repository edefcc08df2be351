// Measures how the desktop picture is handed to the mapping editor: in
// memory as it is, or through a PNG encoding and decoding. Prints figures;
// not a test. Run: bench_ScreenShotHandOver [rounds]
#include <QBuffer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>

#include "platform/qt/ScreenShot.h"

using namespace taviro;

namespace {

// A 1920 x 1080 picture with some detail, so PNG has work to do.
QImage sampleCapture() {
  QImage shot(1920, 1080, QImage::Format_RGB32);
  QPainter painter(&shot);
  QLinearGradient gradient(0, 0, 1920, 1080);
  gradient.setColorAt(0, QColor(0x1a, 0x73, 0xe8));
  gradient.setColorAt(1, QColor(0xfb, 0xbc, 0x04));
  painter.fillRect(shot.rect(), gradient);
  for (int i = 0; i < 400; ++i)
    painter.drawText(i * 37 % 1880, i * 11 % 1080, QStringLiteral("Taviro 타블렛"));
  return shot;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
  const QImage shot = sampleCapture();
  const std::vector<taviro::Display> displays = {
      {1, Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1080), 0},
      {2, Rect(1920, 0, 1920, 1080), Rect(1920, 0, 1920, 1080), 0}};
  double compose = 0, encode = 0, decode = 0;
  qsizetype bytes = 0;
  for (int i = 0; i < rounds; ++i) {
    QElapsedTimer timer;
    timer.start();
    const QImage picture = composeDesktop(displays, [&](const taviro::Display&) { return shot; });
    compose += double(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    encode += double(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    QImage decoded;
    decoded.loadFromData(png, "PNG");
    decode += double(timer.nsecsElapsed()) / 1e6;
    bytes = png.size();
  }
  std::printf("desktop picture 3840 x 1080, %d rounds, mean per round:\n", rounds);
  std::printf("  composed in memory   %8.1f ms\n", compose / rounds);
  std::printf("  PNG encoding         %8.1f ms (%lld KiB)\n", encode / rounds,
              static_cast<long long>(bytes / 1024));
  std::printf("  PNG decoding         %8.1f ms\n", decode / rounds);
  return 0;
}
