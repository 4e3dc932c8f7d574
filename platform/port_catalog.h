// The serial ports of this machine as the port lists offer them: the device
// that port n of the programs opens, and the ports present now (USB adapters
// and the like) with what the system knows about each.
#pragma once

#include <QString>
#include <vector>

namespace zelta {

struct PresentPort {
  QString device;  // what opens it: /dev/ttyUSB0, /dev/serial/by-id/..., COM3
  QString description;
  QString manufacturer;
  QString serialNumber;
};

class PortCatalog {
 public:
  virtual ~PortCatalog() = default;
  virtual QString deviceForPort(int number) const = 0;
  virtual std::vector<PresentPort> presentPorts() const = 0;
};

}  // namespace zelta
