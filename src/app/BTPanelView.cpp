#include "app/BTPanelView.h"

#include <QKeyEvent>

#include "app/BTMenubarController.h"
#include "app/PanelGeometry.h"
#include "ui_Panel.h"

namespace taviro {

BTPanelView::BTPanelView(bool floating, QWidget* parent)
    : QWidget(parent, floating ? Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                               : Qt::Window),
      ui_(std::make_unique<Ui::Panel>()),
      floating_(floating) {
  ui_->setupUi(this);
  setMouseTracking(true);
  // Clicking the panel's background takes the keyboard back from a control,
  // so the arrow keys nudge the cursor offset again.
  setFocusPolicy(Qt::ClickFocus);
  if (floating) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
  } else {
    setFixedSize(kPanelWidth, kPanelHeight);
    setWindowIcon(applicationIcon());
    ui_->backgroundView->setFramed(true);
  }
}

BTPanelView::~BTPanelView() = default;

void BTPanelView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    emit cancelOperation();
    return;
  }
  QWidget::keyPressEvent(event);
  emit keyDown(event);
}

void BTPanelView::keyReleaseEvent(QKeyEvent* event) {
  QWidget::keyReleaseEvent(event);
  emit keyUp(event);
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
