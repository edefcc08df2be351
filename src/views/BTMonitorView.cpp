#include "views/BTMonitorView.h"

#include "views/PlaceholderPainter.h"

namespace taviro {

BTMonitorView::BTMonitorView(QWidget* parent) : QWidget(parent) {}

void BTMonitorView::paintEvent(QPaintEvent*) {
  paintPlaceholder(this, QStringLiteral("mapping editor"), QColor(0xf1, 0xf3, 0xf4));
}

}  // namespace taviro
