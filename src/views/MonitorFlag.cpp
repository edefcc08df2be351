#include "views/MonitorFlag.h"

#include <QTimer>

#include "ui_MonitorFlag.h"

namespace taviro {

MonitorFlag::MonitorFlag(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus),
      ui_(std::make_unique<Ui::MonitorFlag>()) {
  ui_->setupUi(this);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowOpacity(0.8);
  QTimer::singleShot(kLifetimeMs, this, &QWidget::close);
}

MonitorFlag::~MonitorFlag() = default;

void MonitorFlag::SetFlag(qint32 number) { ui_->flagTextField->setText(QString::number(number)); }

QString MonitorFlag::flagText() const { return ui_->flagTextField->text(); }

void MonitorFlag::moveLowerLeftTo(QPoint point) { move(point.x(), point.y() - height()); }

}  // namespace taviro
