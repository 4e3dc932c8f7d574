// The serial line on a real port through QSerialPort, 9600 baud, 8N1, no flow
// control. Port n is "COMn" on Windows; elsewhere the device named by the
// environment variable ZELTA_COM<n>, else /dev/ttyS<n-1>. Received bytes are
// delivered one signal each, in arrival order, also when a receiver handler
// opens a nested event loop (a message box). When the device goes away while
// open, the line reports lineFailed once, closes itself and stays quiet.
// A failed open is classified: no such device, permission denied (the device
// is there but the user may not read and write it) or busy (held by another
// program).
#pragma once

#include <QByteArray>
#include <QPointer>
#include <QSerialPort>
#include <QSocketNotifier>
#include <QTimer>

#include "platform/serial_line.h"

namespace zelta {

class QtSerialLine final : public SerialLine {
  Q_OBJECT
 public:
  explicit QtSerialLine(QObject* parent = nullptr);
  ~QtSerialLine() override;

  // Device path (or Windows port name) that port n stands for.
  static QString deviceForPort(int number);

  bool openPort(int number) override;
  bool openDevice(const QString& path) override;
  void close() override;
  bool isOpen() const override;
  bool write(const Frame& frame) override;
  LineError lastError() const override { return error_; }
  void setDeliveryThreshold(int bytes) override;
  void deliverHeldBytes() override;

  // Which kind of failure QSerialPort's error code on open stands for, given
  // what the file system says about the device (the code alone does not tell
  // a device the user may not use from one that another program holds).
  static LineError::Kind openFailureKind(QSerialPort::SerialPortError error, bool deviceExists,
                                         bool userMayReadAndWrite);

 private:
  void onReadyRead();
  // Delivers pending_ and whatever QSerialPort has read meanwhile.
  void deliver();
  void applyThreshold();
  // QSerialPort watches the device with a read notifier of its own, a child
  // of the port; none on Windows.
  QSocketNotifier* readNotifier();
  // Stops watching the device for the time the given number of bytes takes
  // on the wire. With the notifier off, the event loop does not poll the
  // device, so the kernel does not wake the program at each byte that comes
  // on its own, as it does on a pseudo-terminal below the read threshold.
  void pauseWatching(int bytes);
  void resumeWatching();
  void onError(QSerialPort::SerialPortError error);
  void fail(const QString& reason);
  void openFailed(const QString& path);

  QSerialPort port_;
  QPointer<QSocketNotifier> notifier_;  // found on the first pause after an open
  QTimer resume_;  // real time: a platform detail, as QSerialPort's own timing is
  QByteArray pending_;     // read but not yet delivered
  bool delivering_ = false;
  int threshold_ = 1;      // asked for by the receiver
  int applied_ = 1;        // the driver's threshold; changed between deliveries
  bool failed_ = false;    // failed while open; closed on the next turn of the loop
  quint64 session_ = 0;    // counts opens, so a late failure notice of an old session is ignored
  QString device_;         // the device opened last
  LineError error_;
};

}  // namespace zelta
