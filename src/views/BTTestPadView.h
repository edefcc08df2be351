#pragma once
// PLACEHOLDER for the pen test pad: a marked white area; the pad that draws
// pressure strokes replaces this class.
#include <QWidget>

namespace taviro {

class BTTestPadView : public QWidget {
  Q_OBJECT
 public:
  explicit BTTestPadView(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace taviro
