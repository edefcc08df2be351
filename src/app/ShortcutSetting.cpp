#include "app/ShortcutSetting.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDebug>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <span>
#include <vector>

#include "app/ShellProgramDialog.h"
#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"
#include "shortcuts/CommandText.h"
#include "shortcuts/Configure.h"
#include "shortcuts/KeyMapInfo.h"
#include "ui_ShortcutSetting.h"

#if TAVIRO_WITH_LINUX
#include "platform/linux/KeyCodes.h"
#endif

namespace taviro {
namespace {

using Ui_ = Ui::ShortcutSetting;

// A radio button and the command it stands for (without its ";"), which is
// also what a stored command contains when the button is on. Listed in the
// order of the buttons' tags.
struct RadioCommand {
  QRadioButton* Ui_::*button;
  std::string_view name;
};

constexpr RadioCommand kMouseCommands[] = {
    {&Ui_::mouseLeftButton, "MouseLeft"},
    {&Ui_::mouseRightButton, "MouseRight"},
    {&Ui_::scrollForwardButton, "ScrollForward"},
    {&Ui_::mouseDoubleClickButton, "MouseDoubleClick"},
    {&Ui_::mouseMiddleButton, "MouseMiddle"},
    {&Ui_::mouseBackButton, "ScrollBack"},
};

constexpr RadioCommand kFunctionCommands[] = {
    {&Ui_::monitorChangeButton, "Monitor"},
    {&Ui_::penChangeButton, "E,B"},
};

// The modifier check boxes in the order their prefixes are joined.
struct Modifier {
  QCheckBox* Ui_::*box;
  std::string_view prefix;
};

constexpr Modifier kModifiers[] = {
    {&Ui_::ctrlCheckButton, "Ctrl+"},
    {&Ui_::shiftCheckButton, "Shift+"},
    {&Ui_::altCheckButton, "Option+"},
    {&Ui_::commandCheckButton, "Command+"},
};

// The enable check boxes, in the order of ShortcutEditor::EnableBox.
constexpr QCheckBox* Ui_::*kEnableBoxes[] = {&Ui_::enableKeyboard, &Ui_::enableMouseEvent,
                                             &Ui_::enableFuncEvent, &Ui_::enableRunEvent};

QCheckBox* boxOf(const Ui_& ui, ShortcutEditor::EnableBox box) {
  return ui.*kEnableBoxes[static_cast<int>(box)];
}

QLineEdit* fieldOf(const Ui_& ui, ShortcutEditor::TextField field) {
  return field == ShortcutEditor::TextField::filePathTextField ? ui.filePathTextField
                                                               : ui.shortcutTextField;
}

// The command that `sender`'s tag selects; nothing for a tag outside the table.
std::optional<std::string> commandOfTag(std::span<const RadioCommand> commands,
                                        const QAbstractButton* sender) {
  bool ok = false;
  const int tag = sender->property("tag").toInt(&ok);
  if (!ok || tag < 0 || tag >= static_cast<int>(commands.size())) return std::nullopt;
  return std::string(commands[static_cast<std::size_t>(tag)].name) + ';';
}

// Turns each radio button on exactly when `command` contains its name;
// answers those that are on, in table order.
std::vector<QRadioButton*> selectRadios(Ui_& ui, std::span<const RadioCommand> commands,
                                        const std::optional<std::string>& command) {
  std::vector<QRadioButton*> on;
  for (const RadioCommand& c : commands) {
    QRadioButton* button = ui.*c.button;
    const bool chosen = command && command->find(c.name) != std::string::npos;
    // A radio button of an exclusive group refuses to be turned off alone.
    button->setAutoExclusive(false);
    button->setChecked(chosen);
    button->setAutoExclusive(true);
    if (chosen) on.push_back(button);
  }
  return on;
}

// The virtual key code (key table) of a key press; -1 for none. X11 and
// Wayland report the Linux key code plus 8 (the XKB key code) as the native
// scan code.
int virtualKeyCode(const QKeyEvent& event) {
#if TAVIRO_WITH_LINUX
  constexpr quint32 kXkbOffset = 8;
  if (event.nativeScanCode() < kXkbOffset) return -1;
  return linux_input::virtualKeyForLinuxKey(static_cast<int>(event.nativeScanCode() - kXkbOffset));
#else
  (void)event;
  return -1;
#endif
}

// Modifier and lock keys change the keyboard's state rather than type: a
// chord's modifiers come from the check boxes, so these are neither recorded
// nor kept from the window they go to.
bool isModifierKey(int key) {
  switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_CapsLock:
      return true;
    default:
      return false;
  }
}

void setGroupEnabled(QWidget* group, bool on) {
  for (QWidget* control : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    control->setEnabled(on);
}

}  // namespace

ShortcutSetting* ShortcutSetting::openForKey(Configure& store, long keyId) {
  auto* editor = new ShortcutSetting(store);
  editor->setAttribute(Qt::WA_DeleteOnClose);
  // In the middle of the display the pointer is on (the one the user clicked).
  if (QScreen* screen = QGuiApplication::screenAt(QCursor::pos())) {
    editor->setScreen(screen);
    editor->adjustSize();
    editor->move(screen->availableGeometry().center() - editor->rect().center());
  }
  editor->show();
  editor->raise();
  editor->activateWindow();
  editor->setKeyId(keyId);
  return editor;
}

ShortcutSetting::ShortcutSetting(Configure& store, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui_>()), store_(store) {
  ui_->setupUi(this);
  setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint);
  connectControls();
  qApp->installEventFilter(this);
  kEvent_ = true;
}

ShortcutSetting::~ShortcutSetting() { stopKeyMonitor(); }

void ShortcutSetting::connectControls() {
  Ui_& ui = *ui_;
  for (const Modifier& m : kModifiers)
    connect(ui.*m.box, &QAbstractButton::clicked, this, &ShortcutSetting::setShortcutButton);
  connect(ui.clearShortcutTextButton, &QAbstractButton::clicked, this,
          &ShortcutSetting::clearKeyGroupButton);
  for (const RadioCommand& c : kMouseCommands) {
    QRadioButton* button = ui.*c.button;
    connect(button, &QAbstractButton::clicked, this, [this, button] { mouseSettingRadio(button); });
  }
  for (const RadioCommand& c : kFunctionCommands) {
    QRadioButton* button = ui.*c.button;
    connect(button, &QAbstractButton::clicked, this, [this, button] { changeFunction(button); });
  }
  connect(ui.browseButton, &QAbstractButton::clicked, this, &ShortcutSetting::browserFile);
  connect(ui.enableKeyboard, &QAbstractButton::clicked, this,
          [this] { enableKeyboardAction(ui_->enableKeyboard); });
  connect(ui.enableMouseEvent, &QAbstractButton::clicked, this,
          [this] { enableMouseFuncAction(ui_->enableMouseEvent); });
  connect(ui.enableFuncEvent, &QAbstractButton::clicked, this,
          [this] { enableFuncAction(ui_->enableFuncEvent); });
  connect(ui.enableRunEvent, &QAbstractButton::clicked, this,
          [this] { enableRunAction(ui_->enableRunEvent); });
  connect(ui.applyButton, &QAbstractButton::clicked, this, &ShortcutSetting::applyButton);
  connect(ui.cancelButton, &QAbstractButton::clicked, this, &ShortcutSetting::cancelButton);
}

void ShortcutSetting::setKeyId(long keyId) {
  keyId_ = keyId;
  if (!store_.readShortcutConfig(*this)) showAlert(kReadFailedAlert);
  QTimer::singleShot(kGroupsDelayMs, this, [this] {
    enableKeyboardAction(ui_->enableKeyboard);
    enableRunAction(ui_->enableRunEvent);
    enableMouseFuncAction(ui_->enableMouseEvent);
    enableFuncAction(ui_->enableFuncEvent);
  });
}

// ---- ShortcutEditor

void ShortcutSetting::setMouseEvent(const std::optional<std::string>& command) {
  for (QRadioButton* button : selectRadios(*ui_, kMouseCommands, command))
    mouseSettingRadio(button);
}

void ShortcutSetting::setFunctionEvent(const std::optional<std::string>& command) {
  for (QRadioButton* button : selectRadios(*ui_, kFunctionCommands, command))
    changeFunction(button);
}

void ShortcutSetting::setShortcutText(const std::string& text) {
  for (const Modifier& m : kModifiers)
    (*ui_.*m.box)->setChecked(text.find(m.prefix) != std::string::npos);
  showShortcut(text);
}

int ShortcutSetting::checkState(EnableBox box) const {
  return boxOf(*ui_, box)->isChecked() ? 1 : 0;
}

void ShortcutSetting::setCheckState(EnableBox box, int state) {
  boxOf(*ui_, box)->setChecked(state != 0);
}

std::string ShortcutSetting::stringValue(TextField field) const {
  return fieldOf(*ui_, field)->text().toStdString();
}

void ShortcutSetting::setStringValue(TextField field, const std::string& text) {
  fieldOf(*ui_, field)->setText(QString::fromStdString(text));
}

// ---- Actions

void ShortcutSetting::keyDown(const QKeyEvent& event) {
  QString description;
  QDebug(&description).nospace() << &event << " nativeScanCode=" << event.nativeScanCode();
  logBare("theEvent info = %s", qPrintable(description));
  if (splitCommandText(keyboardEvent_, ' ').size() > kMaxKeyPieces) return;
  const std::string* name = KeyMapInfo::shared().nameForCode(virtualKeyCode(event));
  if (!name) return;
  keyboardEvent_ += *name + ' ';
  showShortcut(shortcutEvent_ + keyboardEvent_);
}

void ShortcutSetting::setShortcutButton() {
  rebuildShortcutEvent();
  showShortcut(shortcutEvent_ + keyboardEvent_);
}

void ShortcutSetting::clearKeyGroupButton() {
  rebuildShortcutEvent();
  showShortcut(shortcutEvent_);
  keyboardEvent_.clear();
}

void ShortcutSetting::mouseSettingRadio(const QAbstractButton* sender) {
  if (std::optional<std::string> command = commandOfTag(kMouseCommands, sender))
    mouseEvent_ = std::move(command);
}

void ShortcutSetting::changeFunction(const QAbstractButton* sender) {
  if (std::optional<std::string> command = commandOfTag(kFunctionCommands, sender))
    functionEvent_ = std::move(command);
}

void ShortcutSetting::browserFile() {
  auto* dialog = new ShellProgramDialog(this, QString::fromLatin1(kBrowseMessage));
  connect(dialog, &QDialog::accepted, this, [this, dialog] {
    const QStringList chosen = dialog->selectedFiles();
    if (!chosen.isEmpty()) ui_->filePathTextField->setText(chosen.front());
  });
  dialog->open();
}

void ShortcutSetting::enableKeyboardAction(const QAbstractButton* sender) {
  setGroupEnabled(ui_->enablekeyboardBox, sender->isChecked());
}

void ShortcutSetting::enableMouseFuncAction(const QAbstractButton* sender) {
  setGroupEnabled(ui_->enableMouseEventBox, sender->isChecked());
}

void ShortcutSetting::enableFuncAction(const QAbstractButton* sender) {
  setGroupEnabled(ui_->enableFunctionEventBox, sender->isChecked());
}

void ShortcutSetting::enableRunAction(const QAbstractButton* sender) {
  setGroupEnabled(ui_->enableRunEventBox, sender->isChecked());
}

void ShortcutSetting::applyButton() {
  if (!store_.writeShortcutConfig(*this)) {
    showAlert(kWriteFailedAlert);
    return;
  }
  close();
  NotificationCenter::defaultCenter().post(kUpdateSettingsNotification);
}

void ShortcutSetting::cancelButton() { close(); }

// ---- Helpers

void ShortcutSetting::rebuildShortcutEvent() {
  shortcutEvent_.clear();
  for (const Modifier& m : kModifiers)
    if ((*ui_.*m.box)->isChecked()) shortcutEvent_ += m.prefix;
}

void ShortcutSetting::showShortcut(const std::string& text) {
  ui_->shortcutTextField->setText(QString::fromStdString(text));
}

void ShortcutSetting::showAlert(const char* message) {
  auto* alert = new QMessageBox(QMessageBox::Critical, windowTitle(), QString::fromLatin1(message),
                                QMessageBox::NoButton, this);
  alert->addButton(QStringLiteral("confirm"), QMessageBox::AcceptRole);
  alert->setAttribute(Qt::WA_DeleteOnClose);
  alert->open();  // a sheet: modal to the editor only
}

// ---- The key monitor

bool ShortcutSetting::takesKeyFor(QObject* receiver) const {
  // Each key comes first to the window, then to its widget: take it there.
  const auto* widget = qobject_cast<const QWidget*>(receiver);
  if (!widget) return false;
  // The editor a window belongs to: itself, or the owner of its dialog.
  const QWidget* window = widget->window();
  for (const QWidget* w = window; w; w = w->parentWidget()) {
    if (qobject_cast<const ShortcutSetting*>(w)) return w == this && window == this;
  }
  return true;  // a window of no editor
}

bool ShortcutSetting::eventFilter(QObject* receiver, QEvent* event) {
  const QEvent::Type type = event->type();
  if ((type != QEvent::KeyPress && type != QEvent::ShortcutOverride) ||
      isModifierKey(static_cast<const QKeyEvent*>(event)->key()) || !takesKeyFor(receiver))
    return false;
  // Accepting the override keeps the key from running a shortcut first.
  if (type == QEvent::KeyPress) keyDown(static_cast<const QKeyEvent&>(*event));
  event->accept();
  return true;
}

void ShortcutSetting::closeEvent(QCloseEvent* event) {
  stopKeyMonitor();
  QWidget::closeEvent(event);
}

void ShortcutSetting::stopKeyMonitor() {
  if (!kEvent_) return;
  qApp->removeEventFilter(this);
  kEvent_ = false;
}

}  // namespace taviro
