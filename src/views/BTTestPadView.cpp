#include "views/BTTestPadView.h"

#include "views/PlaceholderPainter.h"

namespace taviro {

BTTestPadView::BTTestPadView(QWidget* parent) : QWidget(parent) {}

void BTTestPadView::paintEvent(QPaintEvent*) {
  paintPlaceholder(this, QStringLiteral("test pad"), Qt::white);
}

}  // namespace taviro
