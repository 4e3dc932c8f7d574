// Helps choose the port in a main window's port box (Combo2). After the COM
// names it lists the serial ports present on the machine, each shown in the
// list with its description, maker and serial number; the box's tooltip and
// a status line say which device the name in the box opens. Long paths are
// shortened in the middle in the list and shown whole in tooltip and status.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "platform/port_catalog.h"

class QComboBox;
class QLabel;

namespace zelta {

class PortChooser : public QObject {
  Q_OBJECT
 public:
  // portNumberOf(name): the port number text that "Open" takes for name.
  // Without a catalog only the COM names are offered and no device is shown.
  PortChooser(QComboBox& combo, QLabel& status, PortCatalog* catalog,
              std::function<QString(const QString& name)> portNumberOf);

  // Appends the ports present now after the names already in the list.
  void addPresentPorts();
  // Says again what the name in the box opens (its port number may have
  // changed with a list click or an Open).
  void refresh();

  // The device that name opens; empty when it names no port.
  QString deviceFor(const QString& name) const;
  // "FT232R USB UART, FTDI, SN A50285BI": what is known about a port.
  static QString about(const PresentPort& port);

 private:
  QString aboutDevice(const QString& device) const;

  QComboBox& combo_;
  QLabel& status_;
  PortCatalog* catalog_;
  std::function<QString(const QString&)> portNumberOf_;
  std::vector<PresentPort> present_;  // as listed
};

}  // namespace zelta
