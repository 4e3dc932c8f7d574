// Watches the bus line of a main window. A failed Open gets its reason, for
// the box's detail text and on standard error. A line lost while open (the
// adapter pulled, the far end gone) shows at once in a red status line that
// names the port, the device and the reason, until the next successful Open.
// No box: the program carries on as before.
#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QWidget;

namespace zelta {

class SerialLine;
struct LineError;

class LineWatch : public QObject {
  Q_OBJECT
 public:
  // The red line ("LineStatus", hidden until needed) is made in parent, for
  // the window to place.
  LineWatch(SerialLine& line, QWidget* parent);

  QLabel& redLine() const { return redLine_; }

  // A successful Open of portName (as typed or chosen).
  void opened(const QString& portName);
  // A failed Open: returns the reason, and prints it on standard error.
  QString openFailed(const QString& portName, const LineError& error);

 private:
  void lost();

  SerialLine& line_;
  QLabel& redLine_;
  QString portName_;
};

// One line on standard error, after the program's name.
void tellStandardError(const QString& text);

}  // namespace zelta
