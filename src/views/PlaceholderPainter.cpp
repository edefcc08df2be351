#include "views/PlaceholderPainter.h"

#include <QPainter>

namespace taviro {

void paintPlaceholder(QWidget* widget, const QString& title, const QColor& background) {
  QPainter painter(widget);
  const QRectF area = QRectF(widget->rect()).adjusted(1, 1, -1, -1);
  painter.fillRect(area, background);
  painter.setPen(QPen(QColor(0x9a, 0xa0, 0xa6), 1.0, Qt::DashLine));
  painter.drawRect(area);
  painter.setPen(QColor(0x5f, 0x63, 0x68));
  painter.drawText(area, Qt::AlignCenter, QStringLiteral("[placeholder] ") + title);
}

}  // namespace taviro
