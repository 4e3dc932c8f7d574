#include "qt_file_saver.h"

#include <QDir>
#include <QFileDialog>
#include <QSaveFile>

namespace zelta {

SaveResult QtFileSaver::save(QWidget* owner, const QString& title, const QString& suggestedName,
                             const QString& filter, const QByteArray& contents) {
  const QString path =
      QFileDialog::getSaveFileName(owner, title, QDir::home().filePath(suggestedName), filter);
  if (path.isEmpty()) return {SaveResult::Outcome::Cancelled, {}, {}};
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() || !file.commit())
    return {SaveResult::Outcome::Failed, QDir::toNativeSeparators(path), file.errorString()};
  return {SaveResult::Outcome::Saved, QDir::toNativeSeparators(path), {}};
}

}  // namespace zelta
