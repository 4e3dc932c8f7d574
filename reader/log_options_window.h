// "Logging Options": whether values are logged, the log directory (typed,
// chosen with the folder chooser, or the user's home folder) and the field
// delimiter. "Ok" takes the settings; "Browse" and "Default" take effect at
// once. A folder chooser that fails leaves the directory as it was.
#pragma once

#include <QWidget>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zelta {

class CsvLogger;
class Environment;
class FolderChooser;

class LogOptionsWindow : public QWidget {
  Q_OBJECT
 public:
  LogOptionsWindow(CsvLogger& logger, FolderChooser& folders, const Environment& environment);

  // The main window's menu entry: fills the fields from the settings, names
  // the log files and shows the window.
  void openFromMenu();
  void setLOActivity();

 signals:
  void optionsTaken();

 private:
  void apply();
  void useDefault();
  void browse();
  // The chosen directory; the start directory if cancelled; nothing if the
  // chooser failed.
  std::optional<QString> setLogDir();

  CsvLogger& logger_;
  FolderChooser& folders_;
  const Environment& environment_;
  QString defaultLogDir_;

  QCheckBox* check1_;
  QLabel* label1_;
  QLineEdit* logDir_;
  QPushButton* browse_;
  QPushButton* default_;
  QLabel* label2_;
  QLineEdit* delimiter_;
};

}  // namespace zelta
