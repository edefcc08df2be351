#pragma once
// The shortcut editor: a window in which the user composes the shortcut of
// one express key from four parts, each switched on by its own check box: a
// key chord recorded from the keys pressed while the window is open, a mouse
// action, a function, and a program to start. Apply stores the record in the
// shortcut store and posts "UpdateSettings", on which the panel refreshes its
// key labels.
//
// While an editor is open it takes the key presses of the application: keys
// aimed at the editor, or at a window of no editor, are recorded by name and go
// no further. Keys for its own dialogs and for other editors pass, and so do
// modifier keys, which are no keys of a chord.
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "shortcuts/ShortcutEditor.h"

class QAbstractButton;
class QGroupBox;
class QKeyEvent;

namespace Ui {
class ShortcutSetting;
}

namespace taviro {

class Configure;

inline constexpr std::string_view kUpdateSettingsNotification = "UpdateSettings";

class ShortcutSetting : public QWidget, public ShortcutEditor {
  Q_OBJECT
 public:
  static constexpr int kMaxKeyPieces = 18;  // pieces of the key list: at most 18 keys
  static constexpr int kGroupsDelayMs = 100;
  static constexpr const char* kReadFailedAlert = "Failed to read shortcut Settings";
  static constexpr const char* kWriteFailedAlert = "Shortcut setting failed";
  static constexpr const char* kBrowseMessage = "Selelct shell program";

  // Opens a new editor for key `keyId` of `store` above other windows; it
  // frees itself when it closes. Each click opens one more: several may be
  // open at once, each for its own key.
  static ShortcutSetting* openForKey(Configure& store, long keyId);

  explicit ShortcutSetting(Configure& store, QWidget* parent = nullptr);
  ~ShortcutSetting() override;

  Ui::ShortcutSetting& ui() { return *ui_; }

  // Fills the editor from the key's record (an alert when there is none) and,
  // 0.1 s later, greys the groups whose part is off.
  void setKeyId(long keyId);

  // ShortcutEditor: what the store reads and fills.
  long keyId() const override { return keyId_; }
  std::optional<std::string> mouseEvent() const override { return mouseEvent_; }
  std::optional<std::string> functionEvent() const override { return functionEvent_; }
  std::string keyboardEvent() const override { return keyboardEvent_; }
  std::string shortcutEvent() const override { return shortcutEvent_; }
  void setMouseEvent(const std::optional<std::string>& command) override;
  void setFunctionEvent(const std::optional<std::string>& command) override;
  void setKeyboardEvent(const std::string& keys) override { keyboardEvent_ = keys; }
  void setShortcutEvent(const std::string& modifiers) override { shortcutEvent_ = modifiers; }
  void setShortcutText(const std::string& text) override;
  int checkState(EnableBox box) const override;
  void setCheckState(EnableBox box, int state) override;
  std::string stringValue(TextField field) const override;
  void setStringValue(TextField field, const std::string& text) override;

  // Actions of the controls.
  void keyDown(const QKeyEvent& event);
  void setShortcutButton();
  void clearKeyGroupButton();
  void mouseSettingRadio(const QAbstractButton* sender);
  void changeFunction(const QAbstractButton* sender);
  void browserFile();
  void enableKeyboardAction(const QAbstractButton* sender);
  void enableMouseFuncAction(const QAbstractButton* sender);
  void enableFuncAction(const QAbstractButton* sender);
  void enableRunAction(const QAbstractButton* sender);
  void applyButton();
  void cancelButton();

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void connectControls();
  void rebuildShortcutEvent();
  void showShortcut(const std::string& text);
  void showAlert(const char* message);
  // Whether a key press delivered to `receiver` is this editor's to record.
  bool takesKeyFor(QObject* receiver) const;
  void stopKeyMonitor();

  std::unique_ptr<Ui::ShortcutSetting> ui_;
  Configure& store_;
  long keyId_ = 0;
  std::string keyboardEvent_;
  std::string shortcutEvent_;
  std::optional<std::string> mouseEvent_;
  std::optional<std::string> functionEvent_;
  bool kEvent_ = false;  // the key monitor is installed
};

}  // namespace taviro
