// The platform's folder chooser: a title, an owner window, a start directory.
#pragma once

#include <QString>

class QWidget;

namespace zelta {

struct FolderChoice {
  enum class Outcome { Chosen, Cancelled, Failed } outcome = Outcome::Cancelled;
  QString path;  // the chosen folder when outcome is Chosen
};

class FolderChooser {
 public:
  virtual ~FolderChooser() = default;
  virtual FolderChoice choose(QWidget* owner, const QString& title, const QString& startDir) = 0;
};

}  // namespace zelta
