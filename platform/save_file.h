// Saving what a window produced (an export, a picture) to a file the user
// names: a save dialog with a title, a suggested name and a filter, then the
// contents written in one go. Nothing is written when the user cancels, and a
// write that fails says so instead of leaving a half-written file.
#pragma once

#include <QByteArray>
#include <QString>

class QWidget;

namespace zelta {

struct SaveResult {
  enum class Outcome { Saved, Cancelled, Failed } outcome = Outcome::Cancelled;
  QString path;   // where it went (Saved) or was meant to go (Failed)
  QString error;  // why it failed
};

class FileSaver {
 public:
  virtual ~FileSaver() = default;
  virtual SaveResult save(QWidget* owner, const QString& title, const QString& suggestedName,
                          const QString& filter, const QByteArray& contents) = 0;
};

}  // namespace zelta
