#pragma once
// Paints the marked stand-in for a panel view that a later change fills in.
#include <QWidget>

namespace taviro {

void paintPlaceholder(QWidget* widget, const QString& title, const QColor& background);

}  // namespace taviro
