// The lines under the Programmer's frames that say what its controls do not:
// which device the port name opens and, in red, a line lost while the port
// is open (the installer would otherwise press buttons on a dead line).
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QComboBox;
class QWidget;

namespace zelta {
class LineWatch;
class PortCatalog;
class PortChooser;
class SerialLine;
}  // namespace zelta

namespace zelta::programmer {

class StatusLines : public QObject {
  Q_OBJECT
 public:
  // Adds the lines at the foot of the form's layout.
  StatusLines(QWidget& form, QComboBox& combo2, SerialLine& line, PortCatalog* ports,
              std::function<QString(const QString& name)> portNumberOf);

  PortChooser& ports() { return *ports_; }
  LineWatch& line() { return *line_; }

 private:
  PortChooser* ports_ = nullptr;
  LineWatch* line_ = nullptr;
};

}  // namespace zelta::programmer
