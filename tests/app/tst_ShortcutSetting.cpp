// The shortcut editor on a real store: keys recorded by name from their native
// scan codes, the modifiers, the radio tags, the enable boxes, apply and cancel
// with their alerts, several editors at once, and the browse dialog.
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <sstream>

#include "app/ShellProgramDialog.h"
#include "app/ShortcutSetting.h"
#include "foundation/NotificationCenter.h"
#include "foundation/UserDefaults.h"
#include "shortcuts/Configure.h"
#include "shortcuts/KeyMapInfo.h"
#include "ui_ShortcutSetting.h"

using namespace taviro;

namespace {

// Key 3 scrolls back and toggles the brush; key 1 is a chord; key 9 has no record.
constexpr const char* kRecords =
    R"({"1":{"enableKeyboard":1,"keyboardEvent":"Z ","shortcutEvent":"Ctrl+Shift+",)"
    R"("shortcut":"Ctrl+Shift+Z ","enableMouse":0,"mouse":"MouseLeft;","enableFunc":0,)"
    R"("function":"Monitor;","enableRun":0,"filePath":""},)"
    R"("3":{"enableKeyboard":0,"keyboardEvent":"","shortcutEvent":"","shortcut":"Option+",)"
    R"("enableMouse":1,"mouse":"ScrollBack;","enableFunc":1,"function":"E,B;","enableRun":1,)"
    R"("filePath":"/usr/bin/krita"},)"
    R"("4":{"enableKeyboard":0,"keyboardEvent":"","shortcutEvent":"","shortcut":"",)"
    R"("enableMouse":0,"enableFunc":0,"enableRun":0,"filePath":""}})";

// X11 and Wayland: the Linux key code plus 8.
constexpr quint32 kXkbOffset = 8;
constexpr quint32 kKeyA = 30 + kXkbOffset, kKeyB = 48 + kXkbOffset;
constexpr quint32 kKey102nd = 86 + kXkbOffset;  // the ISO key, which has no name

// Strings of the editor and the store, for comparison and printing.
QString str(const std::optional<std::string>& text) {
  return text ? QString::fromStdString(*text) : QStringLiteral("<none>");
}

// A click on a button's text: a check box reacts only there, not across the
// whole width its layout gives it.
void click(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

void press(QWidget* receiver, quint32 nativeScanCode, int key = Qt::Key_unknown,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
  QKeyEvent event(QEvent::KeyPress, key, modifiers, nativeScanCode, 0, 0, text);
  QApplication::sendEvent(receiver, &event);
}

}  // namespace

class ShortcutSettingTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    defaults_ = std::make_unique<UserDefaults>();
    defaults_->setObject(kShortcutSettingsKey, Value(kRecords));
    store_ = std::make_unique<Configure>(*defaults_, "/nonexistent/shortcut.json");
    updates_ = 0;
    observer_ = NotificationCenter::defaultCenter().addObserver(
        std::string(kUpdateSettingsNotification), [this](const Notification&) { ++updates_; });
  }

  void cleanup() {
    NotificationCenter::defaultCenter().removeObserver(observer_);
    QList<QPointer<ShortcutSetting>> editors;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* editor = qobject_cast<ShortcutSetting*>(w)) editors << editor;
    for (const QPointer<ShortcutSetting>& editor : editors) delete editor.data();
    store_.reset();
  }

  void keysAreRecordedAfterTheModifiersAndClearKeepsTheModifiers() {
    ShortcutSetting* editor = open(4);
    // Ctrl held on the keyboard is no key of the chord, nor its modifier.
    press(editor, 29 + kXkbOffset, Qt::Key_Control);
    press(editor, kKeyA, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(editor->ui().shortcutTextField->text(), QStringLiteral("A "));
    click(editor->ui().clearShortcutTextButton);
    click(editor->ui().ctrlCheckButton);
    click(editor->ui().shiftCheckButton);
    press(editor, kKeyA);
    press(editor->ui().shortcutTextField, kKeyB);
    QCOMPARE(editor->ui().shortcutTextField->text(), QStringLiteral("Ctrl+Shift+A B "));
    QCOMPARE(str(editor->keyboardEvent()), QStringLiteral("A B "));
    QCOMPARE(str(editor->shortcutEvent()), QStringLiteral("Ctrl+Shift+"));

    click(editor->ui().clearShortcutTextButton);
    QCOMPARE(editor->ui().shortcutTextField->text(), QStringLiteral("Ctrl+Shift+"));
    QCOMPARE(str(editor->keyboardEvent()), QStringLiteral(""));
    click(editor->ui().shiftCheckButton);
    QCOMPARE(editor->ui().shortcutTextField->text(), QStringLiteral("Ctrl+"));
    // Option and Command join in their fixed order, whatever the clicks' order.
    click(editor->ui().commandCheckButton);
    click(editor->ui().altCheckButton);
    press(editor, kKeyA);
    QCOMPARE(editor->ui().shortcutTextField->text(), QStringLiteral("Ctrl+Option+Command+A "));
  }

  void keysBeyondTheLimitOrWithoutANameAreIgnored_data() {
    QTest::addColumn<QList<quint32>>("codes");
    QTest::addColumn<QString>("recorded");
    QTest::newRow("18 keys") << QList<quint32>(18, kKeyA) << QString("A ").repeated(18);
    QTest::newRow("the 19th") << QList<quint32>(19, kKeyB) << QString("B ").repeated(18);
    QTest::newRow("no name") << QList<quint32>{kKeyA, kKey102nd, kKeyB} << "A B ";
    QTest::newRow("no scan code (no X11 or Wayland)") << QList<quint32>{0, kKeyA} << "A ";
  }

  void keysBeyondTheLimitOrWithoutANameAreIgnored() {
    QFETCH(QList<quint32>, codes);
    QFETCH(QString, recorded);
    ShortcutSetting* editor = open(4);
    for (quint32 code : codes) press(editor, code);
    QCOMPARE(str(editor->keyboardEvent()), recorded);
  }

  // Every key of the reference table that has a name is recorded by it; the
  // other keys record nothing.
  void everyNamedKeyOfTheReferenceTableIsRecordedByName() {
    std::ifstream csv(TAVIRO_KEYCODE_CSV);
    QVERIFY2(csv, TAVIRO_KEYCODE_CSV);
    ShortcutSetting* editor = open(4);
    std::string line;
    std::getline(csv, line);  // header
    int named = 0;
    while (std::getline(csv, line)) {
      std::istringstream fields(line);
      std::string mac, constant, linuxName, linuxCode;
      for (std::string* f : {&mac, &constant, &linuxName, &linuxCode}) std::getline(fields, *f, ',');
      const std::string* name = KeyMapInfo::shared().nameForCode(std::stoi(mac));
      press(editor, static_cast<quint32>(std::stoi(linuxCode)) + kXkbOffset);
      QCOMPARE(str(editor->keyboardEvent()), str(name ? *name + ' ' : std::string()));
      named += name != nullptr;
      editor->clearKeyGroupButton();
    }
    QCOMPARE(named, static_cast<int>(KeyMapInfo::shared().keyString().size()));
  }

  void keysGoToTheEditorTheyAreAimedAtAndNoFurther() {
    QLineEdit elsewhere;
    elsewhere.show();
    ShortcutSetting* first = open(1);
    ShortcutSetting* second = open(3);
    press(first->ui().ctrlCheckButton, kKeyA);
    press(second, kKeyB);
    QCOMPARE(str(first->keyboardEvent()), QStringLiteral("Z A "));
    QCOMPARE(str(second->keyboardEvent()), QStringLiteral("B "));
    // A key for another window: the editor opened last takes it.
    QTest::keyClick(&elsewhere, Qt::Key_X, Qt::NoModifier);
    QKeyEvent x(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, 45 + kXkbOffset, 0, 0, "x");
    QApplication::sendEvent(&elsewhere, &x);
    QCOMPARE(elsewhere.text(), QString());
    QCOMPARE(str(second->keyboardEvent()), QStringLiteral("B X "));
    QCOMPARE(str(first->keyboardEvent()), QStringLiteral("Z A "));

    // Each applies its own key; closed editors take no more keys.
    click(first->ui().applyButton);
    click(second->ui().applyButton);
    QCOMPARE(updates_, 2);
    QCOMPARE(str(store_->readShortcutForCmd(1)), QStringLiteral("Ctrl+Shift+Z;Ctrl+Shift+A;"));
    QCOMPARE(str(store_->readShortcutForCmd(3)), QStringLiteral("ScrollBack;E,B;RunFile:/usr/bin/krita"));
    QTest::keyClick(&elsewhere, Qt::Key_X, Qt::NoModifier);
    QCOMPARE(elsewhere.text(), QStringLiteral("x"));
  }

  void openingFillsTheControlsAndGreysThePartsThatAreOff_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("mouseRadio");     // the one radio on; "" for none
    QTest::addColumn<QString>("functionRadio");
    QTest::addColumn<QStringList>("modifiers");  // the modifier boxes on
    QTest::addColumn<QStringList>("partsOn");    // enable boxes on
    QTest::newRow("chord") << 1 << "mouseLeftButton" << "monitorChangeButton"
                           << QStringList{"ctrlCheckButton", "shiftCheckButton"}
                           << QStringList{"enableKeyboard"};
    QTest::newRow("scroll back, brush, program")
        << 3 << "mouseBackButton" << "penChangeButton" << QStringList{"altCheckButton"}
        << QStringList{"enableMouseEvent", "enableFuncEvent", "enableRunEvent"};
    QTest::newRow("nothing chosen") << 4 << "" << "" << QStringList{} << QStringList{};
  }

  void openingFillsTheControlsAndGreysThePartsThatAreOff() {
    QFETCH(int, key);
    QFETCH(QString, mouseRadio);
    QFETCH(QString, functionRadio);
    QFETCH(QStringList, modifiers);
    QFETCH(QStringList, partsOn);
    ShortcutSetting* editor = open(key);
    for (QRadioButton* radio : editor->findChildren<QRadioButton*>())
      QCOMPARE(radio->isChecked(), radio->objectName() == mouseRadio || radio->objectName() == functionRadio);
    const std::map<QString, std::optional<std::string>> commands{
        {"", std::nullopt}, {"mouseLeftButton", "MouseLeft;"}, {"mouseBackButton", "ScrollBack;"},
        {"monitorChangeButton", "Monitor;"}, {"penChangeButton", "E,B;"}};
    QCOMPARE(str(editor->mouseEvent()), str(commands.at(mouseRadio)));
    QCOMPARE(str(editor->functionEvent()), str(commands.at(functionRadio)));
    for (const char* name : {"ctrlCheckButton", "shiftCheckButton", "altCheckButton", "commandCheckButton"})
      QCOMPARE(editor->findChild<QCheckBox*>(name)->isChecked(), modifiers.contains(name));

    const std::pair<const char*, QGroupBox*> parts[] = {
        {"enableKeyboard", editor->ui().enablekeyboardBox},
        {"enableMouseEvent", editor->ui().enableMouseEventBox},
        {"enableFuncEvent", editor->ui().enableFunctionEventBox},
        {"enableRunEvent", editor->ui().enableRunEventBox}};
    const auto controlsEnabled = [](QGroupBox* group) {
      const auto controls = group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
      return std::all_of(controls.begin(), controls.end(), [](QWidget* w) { return w->isEnabled(); });
    };
    for (const auto& [box, group] : parts) {
      QCOMPARE(editor->findChild<QCheckBox*>(box)->isChecked(), partsOn.contains(box));
      QVERIFY(controlsEnabled(group));  // until the groups follow the boxes
    }
    QTest::qWait(ShortcutSetting::kGroupsDelayMs + 50);
    for (const auto& [box, group] : parts) QCOMPARE(controlsEnabled(group), partsOn.contains(box));
    // A click on an enable box greys or frees its group at once.
    click(editor->ui().enableMouseEvent);
    QCOMPARE(controlsEnabled(editor->ui().enableMouseEventBox), !partsOn.contains("enableMouseEvent"));
  }

  void radioTagsChooseTheCommands() {
    ShortcutSetting* editor = open(4);
    QTest::qWait(ShortcutSetting::kGroupsDelayMs + 50);
    editor->ui().enableMouseEvent->click();
    editor->ui().enableFuncEvent->click();
    const std::pair<const char*, const char*> mouse[] = {
        {"mouseLeftButton", "MouseLeft;"},      {"mouseRightButton", "MouseRight;"},
        {"scrollForwardButton", "ScrollForward;"}, {"mouseDoubleClickButton", "MouseDoubleClick;"},
        {"mouseMiddleButton", "MouseMiddle;"},   {"mouseBackButton", "ScrollBack;"}};
    for (const auto& [radio, command] : mouse) {
      click(editor->findChild<QRadioButton*>(radio));
      QCOMPARE(str(editor->mouseEvent()), QString::fromLatin1(command));
    }
    click(editor->ui().penChangeButton);
    QCOMPARE(str(editor->functionEvent()), QStringLiteral("E,B;"));
    click(editor->ui().monitorChangeButton);
    QCOMPARE(str(editor->functionEvent()), QStringLiteral("Monitor;"));
    // A tag outside the table changes nothing.
    QRadioButton stray;
    stray.setProperty("tag", 6);
    editor->mouseSettingRadio(&stray);
    editor->changeFunction(&stray);
    QCOMPARE(str(editor->mouseEvent()), QStringLiteral("ScrollBack;"));
    QCOMPARE(str(editor->functionEvent()), QStringLiteral("Monitor;"));
  }

  void applyWithEveryPartOffStoresAnEmptyCommand() {
    QPointer<ShortcutSetting> editor = open(1);
    click(editor->ui().enableKeyboard);
    click(editor->ui().applyButton);
    QCOMPARE(updates_, 1);
    QCOMPARE(str(store_->readShortcutForCmd(1)), QStringLiteral(""));
    QCOMPARE(str(KeyMapInfo::shortkeyToChina(store_->readShortcutForCmd(1))), QStringLiteral("정의되지 않음"));
    QTRY_VERIFY(!editor);
  }

  void cancelStoresNothing() {
    const std::string before = store_->readShortcutForCmd(1);
    QPointer<ShortcutSetting> editor = open(1);
    press(editor, kKeyA);
    click(editor->ui().enableMouseEvent);
    click(editor->ui().cancelButton);
    QTRY_VERIFY(!editor);
    QCOMPARE(str(store_->readShortcutForCmd(1)), str(before));
    QCOMPARE(updates_, 0);
    store_->saveShortcutConfig();
    QCOMPARE(defaults_->objectForKey(kShortcutSettingsKey), Value(kRecords));
  }

  // Key 9 has no record: the store answers no to reading and to writing.
  void aKeyTheStoreRefusesShowsItsAlertsAndKeepsTheEditorOpen() {
    ShortcutSetting* editor = open(9);
    QCOMPARE(alertText(editor), QStringLiteral("Failed to read shortcut Settings"));
    qDeleteAll(editor->findChildren<QMessageBox*>());
    click(editor->ui().applyButton);
    QCOMPARE(alertText(editor), QStringLiteral("Shortcut setting failed"));
    QVERIFY(editor->isVisible());
    QCOMPARE(updates_, 0);
  }

  void browsingPicksOneProgramOrFolderAndCancelKeepsThePath_data() {
    QTest::addColumn<QString>("pick");  // under the temporary folder; "" cancels
    QTest::addColumn<bool>("taken");
    QTest::newRow("menu entry") << "krita.desktop" << true;
    QTest::newRow("executable") << "run.sh" << true;
    QTest::newRow("folder") << "folder" << true;
    QTest::newRow("cancel") << "" << false;
  }

  void browsingPicksOneProgramOrFolderAndCancelKeepsThePath() {
    QFETCH(QString, pick);
    QFETCH(bool, taken);
    QTemporaryDir dir;
    makeFiles(dir);
    ShortcutSetting* editor = open(3);
    QTest::qWait(ShortcutSetting::kGroupsDelayMs + 50);
    click(editor->ui().browseButton);
    auto* dialog = editor->findChild<ShellProgramDialog*>();
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Selelct shell program"));
    QCOMPARE(dialog->directory().absolutePath(), QDir::homePath());
    QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
    // The dialog is typed into, not recorded.
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    press(name, kKeyA, Qt::Key_A, {}, "a");
    QCOMPARE(name->text(), QStringLiteral("a"));
    QCOMPARE(str(editor->keyboardEvent()), QStringLiteral(""));
    if (pick.isEmpty()) {
      dialog->reject();
    } else {
      dialog->setDirectory(dir.path());
      dialog->selectFile(dir.filePath(pick));
      dialog->accept();
    }
    QCOMPARE(editor->ui().filePathTextField->text(),
             taken ? dir.filePath(pick) : QStringLiteral("/usr/bin/krita"));
  }

  void theDialogListsFoldersMenuEntriesAndExecutablesOnly() {
    QTemporaryDir dir;
    makeFiles(dir);
    for (const char* name : {"krita.desktop", "run.sh", "folder"})
      QVERIFY2(isShellProgram(QFileInfo(dir.filePath(name))), name);
    QVERIFY(!isShellProgram(QFileInfo(dir.filePath("notes.txt"))));
  }

 private:
  ShortcutSetting* open(long key) {
    ShortcutSetting* editor = ShortcutSetting::openForKey(*store_, key);
    [&] { QVERIFY(QTest::qWaitForWindowExposed(editor)); }();
    return editor;
  }

  static QString alertText(ShortcutSetting* editor) {
    auto* alert = editor->findChild<QMessageBox*>();
    if (!alert || !alert->isVisible() || alert->icon() != QMessageBox::Critical ||
        alert->buttons().size() != 1 || alert->buttons().front()->text() != "confirm")
      return {};
    return alert->text();
  }

  static void makeFiles(const QTemporaryDir& dir) {
    for (const char* name : {"krita.desktop", "run.sh", "notes.txt"}) {
      QFile file(dir.filePath(name));
      file.open(QIODevice::WriteOnly);
    }
    QFile::setPermissions(dir.filePath("run.sh"), QFile::ReadOwner | QFile::ExeOwner);
    QDir(dir.path()).mkdir("folder");
  }

  std::unique_ptr<UserDefaults> defaults_;
  std::unique_ptr<Configure> store_;
  NotificationCenter::Token observer_ = 0;
  int updates_ = 0;
};

QTEST_MAIN(ShortcutSettingTest)
#include "tst_ShortcutSetting.moc"
