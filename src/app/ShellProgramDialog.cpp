#include "app/ShellProgramDialog.h"

#include <QFileSystemModel>
#include <QSortFilterProxyModel>
#include <QStandardPaths>
#include <QUrl>

namespace taviro {
namespace {

class ShellProgramFilter : public QSortFilterProxyModel {
 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;

 protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
    const auto* files = static_cast<const QFileSystemModel*>(sourceModel());
    return isShellProgram(files->fileInfo(files->index(row, 0, parent)));
  }
};

}  // namespace

bool isShellProgram(const QFileInfo& file) {
  return file.isDir() || file.suffix() == QLatin1String("desktop") ||
         (file.isFile() && file.isExecutable());
}

ShellProgramDialog::ShellProgramDialog(QWidget* parent, const QString& message)
    : QFileDialog(parent, message, QDir::homePath()) {
  // Qt's own dialog: the desktop's may neither filter by permission nor take
  // a folder as the answer.
  setOption(QFileDialog::DontUseNativeDialog);
  setFileMode(QFileDialog::ExistingFile);
  setProxyModel(new ShellProgramFilter(this));
  QList<QUrl> places{QUrl::fromLocalFile(QDir::homePath())};
  for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation))
    if (QFileInfo(dir).isDir()) places << QUrl::fromLocalFile(dir);
  places << QUrl::fromLocalFile(QStringLiteral("/usr/bin"));
  setSidebarUrls(places);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowModality(Qt::WindowModal);
}

void ShellProgramDialog::accept() {
  const QStringList chosen = selectedFiles();
  if (chosen.size() == 1 && QFileInfo(chosen.front()).isDir()) {
    QDialog::accept();
    return;
  }
  QFileDialog::accept();
}

}  // namespace taviro
