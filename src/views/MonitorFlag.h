#pragma once
// A small window that shows a display's number in the middle of that display
// for three seconds, then closes and deletes itself.
#include <QWidget>
#include <memory>

namespace Ui {
class MonitorFlag;
}

namespace taviro {

class MonitorFlag : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kLifetimeMs = 3000;

  explicit MonitorFlag(QWidget* parent = nullptr);
  ~MonitorFlag() override;

  void SetFlag(qint32 number);
  QString flagText() const;
  // Puts the window's lower-left corner on `point` (global coordinates).
  void moveLowerLeftTo(QPoint point);

 private:
  std::unique_ptr<Ui::MonitorFlag> ui_;
};

}  // namespace taviro
