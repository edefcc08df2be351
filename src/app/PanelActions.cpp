// The panel's express-key page, its settings files (apply, export, import,
// reset) and its maintenance buttons (raise the priority, refresh, the
// maker's page, quit).
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "app/AppPlatform.h"
#include "app/BTPanelView.h"
#include "app/BTPanelViewController.h"
#include "app/PanelControls.h"
#include "app/ShortcutSetting.h"
#include "app/ShowShoutcut.h"
#include "driver/BTDriverManager.h"
#include "privileged/STPrivilegedTask.h"
#include "shortcuts/Configure.h"
#include "shortcuts/KeyMapInfo.h"
#include "ui_Panel.h"

namespace taviro {
namespace {

// A link button opens its page; one without an address is not shown.
void linkTo(QPushButton* button, const QString& address) {
  button->setVisible(!address.isEmpty());
  QObject::connect(button, &QPushButton::clicked, button,
                   [address] { QDesktopServices::openUrl(QUrl(address)); });
}

}  // namespace

void BTPanelViewController::connectActions() {
  Ui::Panel& ui = window_->ui();
  for (QPushButton* key : {static_cast<QPushButton*>(ui.shortcutSettingsButtonForTag0),
                           static_cast<QPushButton*>(ui.shortcutHoverButtonForTag1),
                           static_cast<QPushButton*>(ui.shortcutHoverButtonForTag2),
                           static_cast<QPushButton*>(ui.shortcutHoverButtonForTag3),
                           static_cast<QPushButton*>(ui.shortcutHoverButtonForTag4)}) {
    connect(key, &QPushButton::clicked, this, [this, key] { setTabletShortcut(tagOf(key)); });
  }
  for (QPushButton* shortcut : {ui.penUpButton, ui.penDownButton, ui.showTabletShortcutButton}) {
    connect(shortcut, &QPushButton::clicked, this,
            [this, shortcut] { showShortcutSettings(tagOf(shortcut)); });
  }
  connect(ui.clearTestPadButton, &QPushButton::clicked, ui.testPadView,
          &BTTestPadView::clearDisplay);

  connect(ui.applyButton, &QPushButton::clicked, this,
          [this, &ui] { applySetting(tagOf(ui.applyButton)); });
  connect(ui.closeButton, &QPushButton::clicked, window_.get(), &QWidget::close);
  // What this build cannot do is not shown (the connection display would
  // enable a disabled button again).
  for (QPushButton* file : {ui.exportSettingsButton, ui.importSettingsButton})
    file->setVisible(settingsFilesSupported());
  connect(ui.exportSettingsButton, &QPushButton::clicked, this,
          &BTPanelViewController::exportSettings);
  connect(ui.importSettingsButton, &QPushButton::clicked, this,
          &BTPanelViewController::importSettings);
  connect(ui.defaultSettingsButton, &QPushButton::clicked, this,
          &BTPanelViewController::defaultSettings);

  ui.improveSpeedButton->setVisible(privilegedExecutor_ != nullptr);
  connect(ui.improveSpeedButton, &QPushButton::clicked, this,
          &BTPanelViewController::didClickImproveSpeed);
  connect(ui.refreshButton, &QPushButton::clicked, this, &BTPanelViewController::didClickRefresh);
  linkTo(ui.morvelButton, QStringLiteral(TAVIRO_MAKER_PAGE));
  linkTo(ui.githubLinkButton, QStringLiteral(TAVIRO_SOURCE_PAGE));
  // Quitting waits for the next pass of the event loop.
  connect(ui.quitButton, &QPushButton::clicked, qApp, &QCoreApplication::quit,
          Qt::QueuedConnection);
}

void BTPanelViewController::setTabletShortcut(int tag) {
  QLabel* picture = window_->ui().shortcutBgImageView;
  const QString file = expressKeyPicture(tag);
  picture->setPixmap(file.isEmpty() ? QPixmap()
                                    : QIcon(file).pixmap(picture->contentsRect().size()));
  QPushButton* button = window_->ui().showTabletShortcutButton;
  button->setVisible(true);
  button->setProperty("tag", tag);
  updateSettings();
}

void BTPanelViewController::updateSettings() {
  Ui::Panel& ui = window_->ui();
  for (QPushButton* button : {ui.penUpButton, ui.penDownButton, ui.showTabletShortcutButton}) {
    button->setText(QString::fromStdString(
        KeyMapInfo::shortkeyToChina(shortcuts_.readShortcutForCmd(tagOf(button)))));
  }
}

void BTPanelViewController::showShortcutSettings(int tag) {
  ShortcutSetting::openForKey(shortcuts_, tag);
}

void BTPanelViewController::showShortcutTips(int kid) {
  ShowShoutcut::showShortcutTip(shortcuts_, kid, selectedScreen());
}

void BTPanelViewController::applySetting(int tag) {
  driver_.saveSettings();
  if (tag == 0) window_->close();
}

// A file dialog on the panel, in the home folder, for property lists and
// other files; it frees itself when closed.
QFileDialog* BTPanelViewController::settingsFileDialog(const QString& message) {
  auto* dialog = new QFileDialog(window_.get(), message, QDir::homePath());
  dialog->setNameFilters(
      {QStringLiteral("Property list (*.plist)"), QStringLiteral("All files (*)")});
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  return dialog;
}

void BTPanelViewController::alert(const QString& text, const QString& reason) {
  auto* box = new QMessageBox(reason.isEmpty() ? QMessageBox::Information : QMessageBox::Warning,
                              QStringLiteral("Taviro"), text, QMessageBox::NoButton, window_.get());
  box->addButton(QStringLiteral("확인"), QMessageBox::AcceptRole);
  box->setInformativeText(reason);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

void BTPanelViewController::confirmLoss(std::function<void()> then) {
  auto* box =
      new QMessageBox(QMessageBox::Information, QStringLiteral("Taviro"),
                      QStringLiteral("저장하지 않은 데이터는 모두 삭제됩니다!\n설정을 불러올까요?"),
                      QMessageBox::NoButton, window_.get());
  QPushButton* yes = box->addButton(QStringLiteral("예"), QMessageBox::YesRole);
  box->addButton(QStringLiteral("아니오"), QMessageBox::NoRole);
  box->setAttribute(Qt::WA_DeleteOnClose);
  connect(box, &QMessageBox::buttonClicked, this, [yes, then = std::move(then)](auto* clicked) {
    if (clicked == yes) then();
  });
  box->open();
}

void BTPanelViewController::exportSettings() {
  QFileDialog* dialog = settingsFileDialog(QStringLiteral("설정 내보내기"));
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setDefaultSuffix(QStringLiteral("plist"));
  dialog->selectFile(QStringLiteral("Nivolt export settings"));
  connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& path) {
    const UserDefaults* defaults = driver_.platform().defaults;
    const QString error =
        writeSettingsFile(path, defaults ? defaults->dictionaryRepresentation() : Value::Dict{});
    if (error.isEmpty()) {
      alert(QStringLiteral("내보내기를 성공하였습니다!"));
    } else {
      alert(QStringLiteral("내보내기를 실패하였습니다!"), error);
    }
  });
  dialog->open();
}

void BTPanelViewController::importSettings() {
  QFileDialog* dialog = settingsFileDialog(QStringLiteral("설정 불러오기"));
  dialog->setFileMode(QFileDialog::ExistingFile);
  connect(dialog, &QFileDialog::fileSelected, this,
          [this](const QString& path) { confirmLoss([this, path] { importFile(path); }); });
  dialog->open();
}

void BTPanelViewController::importFile(const QString& path) {
  SettingsFileRead read = readSettingsFile(path);
  // A file that is not a readable settings file changes nothing.
  if (!read.dictionary) {
    alert(QStringLiteral("설정을 불러오지 못했습니다!"), read.error);
    return;
  }
  if (UserDefaults* defaults = driver_.platform().defaults)
    defaults->registerDefaults(*read.dictionary);
  driver_.clearConfig();
  reloadSettings();
  // The imported settings are kept at once: the saved ones are gone.
  driver_.saveSettings();
}

void BTPanelViewController::defaultSettings() {
  confirmLoss([this] {
    driver_.clearConfig();
    reloadSettings();
  });
}

void BTPanelViewController::reloadSettings() {
  driver_.initConfig();
  initConfig();
}

void BTPanelViewController::didClickImproveSpeed() {
  if (!privilegedExecutor_) return;
  // The task lives on until its status check sees the command end.
  STPrivilegedTask::create(
      {*privilegedExecutor_, mainQueue_}, "/usr/bin/renice",
      {"-20", "-p", std::to_string(static_cast<int>(QCoreApplication::applicationPid()))})
      ->launch();
}

void BTPanelViewController::didClickRefresh() { driver_.reinitialize(); }

}  // namespace taviro
