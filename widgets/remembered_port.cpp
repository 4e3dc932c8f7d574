#include "remembered_port.h"

#include <QComboBox>

#include "platform/settings.h"

namespace zelta {
namespace {

const QString kLastPort = QStringLiteral("port/last");

}  // namespace

void restoreLastPort(const Settings& settings, QComboBox& combo) {
  const QString last = settings.value(kLastPort).toString();
  if (!last.isEmpty()) combo.setEditText(last);
}

void noteLastPort(Settings& settings, const QString& portName, const QString& po) {
#ifndef Q_OS_WIN
  if (portName.startsWith(QLatin1Char('/'))) {
    settings.setValue(kLastPort, portName);
    return;
  }
#endif
  // A typed name of another length opened the port of an earlier name.
  settings.setValue(kLastPort, QStringLiteral("COM") + po.trimmed());
}

}  // namespace zelta
