// The lines under the Reader's frames that say what its controls do not:
// which device the port name opens, whether and where scan values are
// logged ("Logging to ..." or "Logging off"), and, in red, a line lost while
// the port is open.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QComboBox;
class QLabel;
class QMainWindow;

namespace zelta {

class CsvLogger;
class ElidingLabel;
class LineWatch;
class PortCatalog;
class PortChooser;
class SerialLine;

class ReaderStatusLines : public QObject {
  Q_OBJECT
 public:
  // Adds the lines below whatever the window's central grid holds.
  ReaderStatusLines(QMainWindow& form1, QComboBox& combo2, SerialLine& line, PortCatalog* ports,
                    const CsvLogger& logger,
                    std::function<QString(const QString& name)> portNumberOf);

  PortChooser& ports() { return *ports_; }
  LineWatch& line() { return *line_; }
  // Says again whether and where the logger writes.
  void showLogging();

  static QString loggingText(const CsvLogger& logger);

 private:
  const CsvLogger& logger_;
  ElidingLabel* logging_ = nullptr;
  PortChooser* ports_ = nullptr;
  LineWatch* line_ = nullptr;
};

}  // namespace zelta
