#include "app/ShowShoutcut.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSvgWidget>

#include "driver/ShortcutHandOff.h"
#include "shortcuts/KeyMapInfo.h"
#include "ui_ShowShoutcut.h"

// The pictures live in the application's resources, which a static library
// must register itself (outside any namespace).
static void loadKeyPictures() { Q_INIT_RESOURCE(resources); }

namespace taviro {
namespace {

constexpr long kKeyPictures = 5;

// The key id an element of the tip belongs to; -1 for none.
int tagOf(const QWidget* element) {
  const QVariant tag = element->property("tag");
  return tag.isValid() ? tag.toInt() : -1;
}

}  // namespace

QString expressKeyPicture(long key) {
  static const bool loaded = (loadKeyPictures(), true);
  (void)loaded;
  if (key < 0 || key >= kKeyPictures) return {};
  return QStringLiteral(":/images/keys/key%1.svg").arg(key);
}

ShowShoutcut* ShowShoutcut::showShortcutTip(ShortcutLookup& shortcuts, long kid, QScreen* screen) {
  if (kid < 0 || kid >= kKeyPictures) return nullptr;
  if (!screen) screen = QGuiApplication::primaryScreen();
  auto* tip = new ShowShoutcut(shortcuts);
  tip->setAttribute(Qt::WA_DeleteOnClose);
  // Displays of separate X screens share coordinates: name the screen too.
  if (screen) {
    tip->setScreen(screen);
    tip->setScreenSize(screen->geometry());
  }
  tip->show();
  tip->setId(static_cast<int>(kid));
  return tip;
}

ShowShoutcut::ShowShoutcut(ShortcutLookup& shortcuts, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::ShowShoutcut>()), shortcuts_(shortcuts) {
  ui_->setupUi(this);
  // A tip above everything that never takes the focus from the program the
  // user is drawing in.
  setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFixedSize(size());
  setWindowOpacity(kOpacity);
  for (QSvgWidget* picture : ui_->view->findChildren<QSvgWidget*>())
    picture->load(expressKeyPicture(tagOf(picture)));
  closeTimer_.setSingleShot(true);
  closeTimer_.setInterval(kShowMs);
  connect(&closeTimer_, &QTimer::timeout, this, &QWidget::close);
  closeTimer_.start();
}

ShowShoutcut::~ShowShoutcut() = default;

QWidget* ShowShoutcut::view() const { return ui_->view; }

void ShowShoutcut::setId(int keyId) {
  const QRectF& d = screenSize_;
  move(qRound(d.x() + d.width() / 2 - width() / 2.0), qRound(d.y() + kTopMargin));
  for (QWidget* element : ui_->view->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (tagOf(element) != keyId) continue;
    element->show();
    // Plain labels only: the picture beside it takes no text.
    if (element->metaObject() == &QLabel::staticMetaObject)
      static_cast<QLabel*>(element)->setText(QString::fromStdString(
          KeyMapInfo::shortkeyToChina(shortcuts_.readShortcutForCmd(keyId))));
  }
}

}  // namespace taviro
