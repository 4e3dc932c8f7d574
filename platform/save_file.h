// The platform's save-file chooser: asks where a file is to be written, with
// a title, an owner window, a suggested path and the file types offered
// ("CSV files (*.csv)"). It only chooses; the caller writes the file.
#pragma once

#include <QString>

class QWidget;

namespace zelta {

struct SaveChoice {
  enum class Outcome { Chosen, Cancelled } outcome = Outcome::Cancelled;
  QString path;  // the chosen file when outcome is Chosen
};

class FileSaver {
 public:
  virtual ~FileSaver() = default;
  virtual SaveChoice choose(QWidget* owner, const QString& title, const QString& suggestedPath,
                            const QString& fileTypes) = 0;
};

}  // namespace zelta
