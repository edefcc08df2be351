#pragma once
// The dialog of the shortcut editor's browse button: picks the one program a
// shortcut starts, an application's .desktop file or an executable (a folder
// may be chosen too: it opens in the file manager). It starts in the home
// folder; the application folders and /usr/bin are in its side bar.
#include <QFileDialog>

class QFileInfo;

namespace taviro {

// Whether the dialog lists `file`: folders, .desktop files and executables.
bool isShellProgram(const QFileInfo& file);

class ShellProgramDialog : public QFileDialog {
  Q_OBJECT
 public:
  // A sheet on `parent` (modal to its window only), freed when it closes.
  ShellProgramDialog(QWidget* parent, const QString& message);

  // A selected folder is taken as the choice instead of being entered
  // (double-clicking still enters it).
  void accept() override;
};

}  // namespace taviro
