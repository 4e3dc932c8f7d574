#include "qt_port_catalog.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

#include "platform/qt_serial_line.h"

namespace zelta {

QString QtPortCatalog::deviceForPort(int number) const {
  return QtSerialLine::deviceForPort(number);
}

std::vector<PresentPort> QtPortCatalog::presentPorts() const {
  std::vector<PresentPort> ports;
#ifdef Q_OS_LINUX
  const QFileInfoList stableNames =
      QDir(QStringLiteral("/dev/serial/by-id"))
          .entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
#endif
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
#ifdef Q_OS_WIN
    const QString device = info.portName();
#else
    const QString device = info.systemLocation();
#endif
    PresentPort port{device, info.description(), info.manufacturer(), info.serialNumber()};
    ports.push_back(port);
#ifdef Q_OS_LINUX
    for (const QFileInfo& name : stableNames)
      if (name.canonicalFilePath() == device) {
        port.device = name.absoluteFilePath();
        ports.push_back(port);
      }
#endif
  }
  return ports;
}

}  // namespace zelta
