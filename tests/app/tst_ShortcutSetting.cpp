// The shortcut editor on a real store: keys recorded by name from their native
// scan codes, the modifiers, the loaded controls and radio tags, apply and
// cancel with their alerts, several editors at once, and the browse dialog.
#include <QMessageBox>
#include <QTest>

#include "TestApp.h"
#include "app/ShellProgramDialog.h"
#include "app/ShortcutSetting.h"
#include "foundation/NotificationCenter.h"
#include "shortcuts/KeyMapInfo.h"
#include "ui_ShortcutSetting.h"

using namespace taviro;

namespace {

// Key 1 is a chord; key 3 scrolls back, toggles the brush and runs a program;
// key 4 has everything off and no mouse or function chosen; key 9 has no record.
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
constexpr quint32 kXkb = 8;
constexpr quint32 kKeyA = 30 + kXkb, kKeyB = 48 + kXkb, kKey102nd = 86 + kXkb;  // 102nd: no name

QString str(const std::optional<std::string>& text) {
  return text ? QString::fromStdString(*text) : QStringLiteral("<none>");
}

// On the button's text: a check box takes clicks only there.
void click(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

void press(QWidget* receiver, quint32 nativeScanCode, int key = Qt::Key_unknown,
           Qt::KeyboardModifiers modifiers = {}, const QString& text = {}) {
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
    qDeleteAll(test::shownWindows<ShortcutSetting>());
  }

  void keysAreRecordedAfterTheModifiersAndClearKeepsTheModifiers() {
    ShortcutSetting* editor = open(4);
    // Ctrl held on the keyboard is neither a key of the chord nor its modifier.
    press(editor, 29 + kXkb, Qt::Key_Control);
    press(editor, kKeyA, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(editor->ui().shortcutTextField->text(), QStringLiteral("A "));
    click(editor->ui().clearShortcutTextButton);
    click(editor->ui().ctrlCheckButton);
    click(editor->ui().shiftCheckButton);
    press(editor, kKeyA);
    press(editor->ui().shortcutTextField, kKeyB);
    QCOMPARE(editor->ui().shortcutTextField->text(), QStringLiteral("Ctrl+Shift+A B "));
    QCOMPARE(str(editor->keyboardEvent()), QStringLiteral("A B "));

    click(editor->ui().clearShortcutTextButton);
    QCOMPARE(editor->ui().shortcutTextField->text(), QStringLiteral("Ctrl+Shift+"));
    QCOMPARE(str(editor->keyboardEvent()), QString());
    click(editor->ui().shiftCheckButton);
    QCOMPARE(editor->ui().shortcutTextField->text(), QStringLiteral("Ctrl+"));
    // The fixed order, whatever the order of the clicks.
    click(editor->ui().commandCheckButton);
    click(editor->ui().altCheckButton);
    QCOMPARE(str(editor->shortcutEvent()), QStringLiteral("Ctrl+Option+Command+"));
  }

  void keysBeyondTheLimitOrWithoutANameAreIgnored_data() {
    QTest::addColumn<QList<quint32>>("codes");
    QTest::addColumn<QString>("recorded");
    QTest::newRow("18 keys") << QList<quint32>(18, kKeyA) << QString("A ").repeated(18);
    QTest::newRow("the 19th") << QList<quint32>(19, kKeyB) << QString("B ").repeated(18);
    QTest::newRow("no name") << QList<quint32>{kKeyA, kKey102nd, kKeyB} << "A B ";
    QTest::newRow("no scan code") << QList<quint32>{0, kKeyA} << "A ";
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
    QFile csv(TAVIRO_KEYCODE_CSV);
    QVERIFY2(csv.open(QIODevice::ReadOnly), TAVIRO_KEYCODE_CSV);
    ShortcutSetting* editor = open(4);
    csv.readLine();  // header
    std::size_t named = 0;
    while (!csv.atEnd()) {
      // The key's code, its constant, the Linux name and the Linux code.
      const QList<QByteArray> fields = csv.readLine().trimmed().split(',');
      const std::string* name = KeyMapInfo::shared().nameForCode(fields[0].toInt());
      press(editor, fields[3].toUInt() + kXkb);
      QCOMPARE(str(editor->keyboardEvent()), str(name ? *name + ' ' : ""));
      named += name != nullptr;
      editor->clearKeyGroupButton();
    }
    QCOMPARE(named, KeyMapInfo::shared().keyString().size());
  }

  void keysGoToTheEditorTheyAreAimedAtAndNoFurther() {
    QLineEdit elsewhere;
    elsewhere.show();
    ShortcutSetting* first = open(1);
    ShortcutSetting* second = open(3);
    press(first->ui().ctrlCheckButton, kKeyA);
    press(second, kKeyB);
    // A key for another window goes to the editor opened last.
    press(&elsewhere, 45 + kXkb, Qt::Key_X, {}, "x");
    QCOMPARE(elsewhere.text(), QString());
    QCOMPARE(str(first->keyboardEvent()), QStringLiteral("Z A "));
    QCOMPARE(str(second->keyboardEvent()), QStringLiteral("B X "));

    // Each applies its own key; closed editors take no more keys.
    click(first->ui().applyButton);
    click(second->ui().applyButton);
    QCOMPARE(updates_, 2);
    QCOMPARE(str(store_->readShortcutForCmd(1)), QStringLiteral("Ctrl+Shift+Z;Ctrl+Shift+A;"));
    QCOMPARE(str(store_->readShortcutForCmd(3)),
             QStringLiteral("ScrollBack;E,B;RunFile:/usr/bin/krita"));
    press(&elsewhere, 45 + kXkb, Qt::Key_X, {}, "x");
    QCOMPARE(elsewhere.text(), QStringLiteral("x"));
  }

  void openingSetsTheControlsAndGreysThePartsThatAreOff_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("on");    // every check box and radio button that is on
    QTest::addColumn<QString>("commands");  // mouse and function
    QTest::newRow("chord") << 1
                           << QStringList{"enableKeyboard", "ctrlCheckButton", "shiftCheckButton",
                                          "mouseLeftButton", "monitorChangeButton"}
                           << "MouseLeft; Monitor;";
    QTest::newRow("scroll back, brush, program")
        << 3 << QStringList{"altCheckButton",  "enableMouseEvent", "mouseBackButton",
                            "enableFuncEvent", "penChangeButton",  "enableRunEvent"}
        << "ScrollBack; E,B;";
    QTest::newRow("nothing chosen") << 4 << QStringList{} << "<none> <none>";
  }

  void openingSetsTheControlsAndGreysThePartsThatAreOff() {
    QFETCH(int, key);
    QFETCH(QStringList, on);
    QFETCH(QString, commands);
    ShortcutSetting* editor = open(key);
    for (QAbstractButton* button : editor->findChildren<QAbstractButton*>())
      if (button->isCheckable()) QCOMPARE(button->isChecked(), on.contains(button->objectName()));
    QCOMPARE(str(editor->mouseEvent()) + ' ' + str(editor->functionEvent()), commands);

    const auto enabled = [editor](const char* group) {
      const auto controls = editor->findChild<QGroupBox*>(group)->findChildren<QWidget*>();
      return std::all_of(controls.begin(), controls.end(),
                         [](QWidget* w) { return w->isEnabled(); });
    };
    const std::pair<const char*, const char*> parts[] = {
        {"enableKeyboard", "enablekeyboardBox"},
        {"enableMouseEvent", "enableMouseEventBox"},
        {"enableFuncEvent", "enableFunctionEventBox"},
        {"enableRunEvent", "enableRunEventBox"}};
    for (const auto& [box, group] : parts) QVERIFY(enabled(group));  // until the delay ends
    QTest::qWait(ShortcutSetting::kGroupsDelayMs + 50);
    for (const auto& [box, group] : parts) QCOMPARE(enabled(group), on.contains(box));
    click(editor->ui().enableMouseEvent);  // at once
    QCOMPARE(enabled("enableMouseEventBox"), !on.contains("enableMouseEvent"));
  }

  void radioTagsChooseTheCommands() {
    ShortcutSetting* editor = open(3);
    QTest::qWait(ShortcutSetting::kGroupsDelayMs + 50);
    QString chosen;
    for (const char* radio :
         {"mouseLeftButton", "mouseRightButton", "scrollForwardButton", "mouseDoubleClickButton",
          "mouseMiddleButton", "mouseBackButton", "monitorChangeButton", "penChangeButton"}) {
      click(editor->findChild<QRadioButton*>(radio));
      chosen += str(editor->mouseEvent()) + str(editor->functionEvent()) + ' ';
    }
    QCOMPARE(chosen, QStringLiteral(
                         "MouseLeft;E,B; MouseRight;E,B; ScrollForward;E,B; MouseDoubleClick;E,B; "
                         "MouseMiddle;E,B; ScrollBack;E,B; ScrollBack;Monitor; ScrollBack;E,B; "));
  }

  void applyStoresAndNotifiesAndCancelStoresNothing_data() {
    QTest::addColumn<bool>("apply");
    QTest::addColumn<QString>("command");
    QTest::newRow("apply, every part off") << true << "";
    QTest::newRow("cancel") << false << "Ctrl+Shift+Z;";
  }

  void applyStoresAndNotifiesAndCancelStoresNothing() {
    QFETCH(bool, apply);
    QFETCH(QString, command);
    QPointer<ShortcutSetting> editor = open(1);
    click(editor->ui().enableKeyboard);
    click(apply ? editor->ui().applyButton : editor->ui().cancelButton);
    QCOMPARE(updates_, apply ? 1 : 0);
    QCOMPARE(str(store_->readShortcutForCmd(1)), command);
    QTRY_VERIFY(!editor);
    // The panel's express-key page shows the empty command as "정의되지 않음".
    store_->saveShortcutConfig();
    if (!apply) QCOMPARE(defaults_->objectForKey(kShortcutSettingsKey), Value(kRecords));
  }

  // Key 9 has no record: the store refuses to read and to write it.
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
    QTest::addColumn<QString>("pick");  // in a folder that also holds notes.txt; "" cancels
    QTest::newRow("menu entry") << "krita.desktop";
    QTest::newRow("executable") << "run.sh";
    QTest::newRow("folder") << "folder";
    QTest::newRow("cancel") << "";
  }

  void browsingPicksOneProgramOrFolderAndCancelKeepsThePath() {
    QFETCH(QString, pick);
    QTemporaryDir dir;
    for (const char* name : {"krita.desktop", "run.sh", "notes.txt"})
      QFile(dir.filePath(name)).open(QIODevice::WriteOnly);
    QFile::setPermissions(dir.filePath("run.sh"), QFile::ReadOwner | QFile::ExeOwner);
    QDir(dir.path()).mkdir("folder");
    QVERIFY(!isShellProgram(QFileInfo(dir.filePath("notes.txt"))));

    ShortcutSetting* editor = open(3);
    click(editor->ui().browseButton);
    auto* dialog = editor->findChild<ShellProgramDialog*>();
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Selelct shell program"));
    QCOMPARE(dialog->directory().absolutePath(), QDir::homePath());
    QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    press(name, kKeyA, Qt::Key_A, {}, "a");  // typed into, not recorded
    QCOMPARE(name->text() + str(editor->keyboardEvent()), QStringLiteral("a"));
    if (pick.isEmpty()) {
      dialog->reject();
    } else {
      QVERIFY(isShellProgram(QFileInfo(dir.filePath(pick))));
      dialog->setDirectory(dir.path());
      dialog->selectFile(dir.filePath(pick));
      dialog->accept();
    }
    QCOMPARE(editor->ui().filePathTextField->text(),
             pick.isEmpty() ? QStringLiteral("/usr/bin/krita") : dir.filePath(pick));
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

  std::unique_ptr<UserDefaults> defaults_;
  std::unique_ptr<Configure> store_;
  NotificationCenter::Token observer_ = 0;
  int updates_ = 0;
};

QTEST_MAIN(ShortcutSettingTest)
#include "tst_ShortcutSetting.moc"
