// The ports QSerialPortInfo finds, and on Linux also their stable names under
// /dev/serial/by-id, which stay the same when an adapter is plugged in again.
// Port n opens the device that QtSerialLine opens for it.
#pragma once

#include "platform/port_catalog.h"

namespace zelta {

class QtPortCatalog final : public PortCatalog {
 public:
  QString deviceForPort(int number) const override;
  std::vector<PresentPort> presentPorts() const override;
};

}  // namespace zelta
