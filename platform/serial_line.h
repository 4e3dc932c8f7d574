// The serial line to the module bus, as the programs see it: open by port
// number or device path, write one frame in one write, receive bytes one at a
// time in order on the UI thread. A write on a closed or failed line returns
// false and the caller carries on. A line that fails while open (the adapter
// pulled out) reports lineFailed once and then behaves as closed for writes.
// lastError() says why the last open failed, or why the line was lost.
//
// A receiver that can make nothing of fewer than n further bytes (the rest of
// a reply) may set a delivery threshold of n: the line may then hold back up
// to n - 1 received bytes and hand them over together with the byte that
// makes n, saving the program a wake-up for every byte. Order is always kept.
// Every open starts at 1, each byte as it comes; a line that cannot hold
// bytes back ignores the threshold.
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
  virtual void setDeliveryThreshold(int bytes) { (void)bytes; }
  // Hands over now, in order, the bytes being held back (fewer than the
  // threshold, so they cannot complete what the receiver waits for).
  virtual void deliverHeldBytes() {}
  QString errorString() const { return explain(lastError()); }

 signals:
  void byteReceived(quint8 byte);
  void lineFailed(const QString& reason);
};

}  // namespace zelta
