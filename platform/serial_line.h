// The serial line to the module bus, as the programs see it: open by port
// number or device path, write one frame in one write, receive bytes one at a
// time in order on the UI thread. A write on a closed or failed line returns
// false and the caller carries on. A line that fails while open (the adapter
// pulled out) reports lineFailed once and then behaves as closed for writes.
// lastError() says why the last open failed, or why the line was lost.
#pragma once

#include <QObject>
#include <QString>

#include "platform/line_error.h"
#include "protocol/frame.h"

namespace zelta {

class SerialLine : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;

  // Port n of the programs ("COM3" is port 3). False on failure.
  virtual bool openPort(int number) = 0;
  // A device path, such as /dev/ttyUSB0. False on failure.
  virtual bool openDevice(const QString& path) = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  virtual bool write(const Frame& frame) = 0;
  // Why the last open failed or the line was lost; kind None after a
  // successful open.
  virtual LineError lastError() const = 0;
  QString errorString() const { return explain(lastError()); }

 signals:
  void byteReceived(quint8 byte);
  void lineFailed(const QString& reason);
};

}  // namespace zelta
