#include "app/BTPanelView.h"

#include <QKeyEvent>

#include "ui_Panel.h"

namespace taviro {

BTPanelView::BTPanelView(bool floating, QWidget* parent)
    : QWidget(parent, floating ? Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                               : Qt::Window),
      ui_(std::make_unique<Ui::Panel>()) {
  ui_->setupUi(this);
  setAttribute(Qt::WA_TranslucentBackground);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
}

BTPanelView::~BTPanelView() = default;

void BTPanelView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    emit cancelOperation();
    return;
  }
  QWidget::keyPressEvent(event);
}

void BTPanelView::closeEvent(QCloseEvent* event) {
  emit windowWillClose();
  QWidget::closeEvent(event);
}

void BTPanelView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  emit windowDidResize();
}

void BTPanelView::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  emit windowDidResize();
}

}  // namespace taviro
