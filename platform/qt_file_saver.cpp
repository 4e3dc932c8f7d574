#include "qt_file_saver.h"

#include <QDir>
#include <QFileDialog>

namespace zelta {

SaveChoice QtFileSaver::choose(QWidget* owner, const QString& title, const QString& suggestedPath,
                               const QString& fileTypes) {
  const QString chosen = QFileDialog::getSaveFileName(owner, title, suggestedPath, fileTypes);
  if (chosen.isEmpty()) return {SaveChoice::Outcome::Cancelled, {}};
  return {SaveChoice::Outcome::Chosen, QDir::toNativeSeparators(chosen)};
}

}  // namespace zelta
