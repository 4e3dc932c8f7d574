#include "qt_folder_chooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace zelta {

FolderChoice QtFolderChooser::choose(QWidget* owner, const QString& title, const QString& startDir) {
  const QString chosen = QFileDialog::getExistingDirectory(owner, title, startDir,
                                                           QFileDialog::ShowDirsOnly);
  if (chosen.isEmpty()) return {FolderChoice::Outcome::Cancelled, {}};
  // Only a folder of the file system will do (not a virtual location).
  if (!QFileInfo(chosen).isDir()) return {FolderChoice::Outcome::Failed, {}};
  return {FolderChoice::Outcome::Chosen, QDir::toNativeSeparators(chosen)};
}

}  // namespace zelta
