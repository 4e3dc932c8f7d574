#include "line_error.h"

namespace zelta {
namespace {

// " (system text)" when the system said something.
QString because(const LineError& e) {
  return e.systemText.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(e.systemText);
}

}  // namespace

QString explain(const LineError& e) {
  switch (e.kind) {
    case LineError::Kind::None:
      return {};
    case LineError::Kind::NoSuchDevice:
      return QStringLiteral("No such device: %1%2.").arg(e.device, because(e));
    case LineError::Kind::PermissionDenied: {
      QString text = QStringLiteral("Permission denied: %1%2.").arg(e.device, because(e));
#ifdef Q_OS_LINUX
      text += QStringLiteral(
          " Join the \"dialout\" group (sudo usermod -aG dialout $USER), then log out and in"
          " again.");
#endif
      return text;
    }
    case LineError::Kind::Busy:
      return QStringLiteral("Busy: %1 is in use by another program%2.").arg(e.device, because(e));
    case LineError::Kind::NoPortNumber:
      return QStringLiteral("\"%1\" names no port: choose a port from the list or type a "
                            "device path.")
          .arg(e.device);
    case LineError::Kind::Lost:
      return QStringLiteral("%1 stopped working%2.").arg(e.device, because(e));
    case LineError::Kind::Other:
      break;
  }
  return QStringLiteral("%1: %2").arg(e.device, e.systemText.isEmpty()
                                                    ? QStringLiteral("cannot be used")
                                                    : e.systemText);
}

}  // namespace zelta
