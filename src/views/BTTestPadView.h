#pragma once
// The pen test pad: a white area on which each pen drag leaves a blue stroke
// whose width and opacity follow the pressure, so the user sees what the
// pressure settings do; every pointer event that reaches the pad is logged
// with its tablet fields.
//
// Strokes are drawn into an image that the pad shows, because Qt repaints for
// reasons of its own (a window uncovered, a page switched back): those keep
// the strokes, while clearDisplay (the panel's clear button and each showing
// of the panel) wipes them.
#include <QImage>
#include <QPen>
#include <QPointF>
#include <QWidget>

class QMouseEvent;
class QTabletEvent;

namespace taviro {

// The pen of a stroke at `pressure` (0 to 1): pure blue with alpha
// pressure × 0.4 + 0.1, width pressure × 30 (0 is Qt's thinnest line), round
// caps.
QPen testPadPen(float pressure);

class BTTestPadView : public QWidget {
  Q_OBJECT
 public:
  explicit BTTestPadView(QWidget* parent = nullptr);

  // Wipes the pad white.
  void clearDisplay();

  // What the pad reads of a pointer event (positions in the pad's own
  // coordinates).
  struct PointerSample {
    QPointF position;
    float pressure = 0;
    int capabilities = 0;  // of the pointing device
    int clickCount = 0;
    int buttonNumber = 0;  // 0 left (the pen tip), 1 right, 2 middle...
    int buttonMask = 0;    // the buttons held: 1 left, 2 right, 4 middle...
  };

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void tabletEvent(QTabletEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  // Where a left-button gesture is: pressed, then dragging once the first
  // drag has been seen (it only logs), until the release.
  enum class Gesture { none, pressed, dragging };

  void mouseDown(const PointerSample& sample);
  void mouseDragged(const PointerSample& sample);
  void mouseMoved(const PointerSample& sample);
  void mouseUp(const PointerSample& sample);
  void drawLineWithEvent(const PointerSample& sample);
  void logEvent(const PointerSample& sample, const char* type);

  QImage strokes_;
  QPointF previousLocation_;
  Gesture gesture_ = Gesture::none;
  int clickCount_ = 0;
};

}  // namespace taviro
