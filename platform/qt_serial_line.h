// The serial line on a real port through QSerialPort, 9600 baud, 8N1, no flow
// control. Port n is "COMn" on Windows; elsewhere the device named by the
// environment variable ZELTA_COM<n>, else /dev/ttyS<n-1>. Received bytes are
// delivered one signal each, in arrival order, also when a receiver handler
// opens a nested event loop (a message box). When the device goes away while
// open, the line reports lineFailed once, closes itself and stays quiet.
#pragma once

#include <QByteArray>
#include <QSerialPort>

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
  QString errorString() const override { return error_; }

 private:
  void onReadyRead();
  void onError(QSerialPort::SerialPortError error);
  void fail(const QString& reason);

  QSerialPort port_;
  QByteArray pending_;     // read but not yet delivered
  bool delivering_ = false;
  bool failed_ = false;    // failed while open; closed on the next turn of the loop
  quint64 session_ = 0;    // counts opens, so a late failure notice of an old session is ignored
  QString error_;
};

}  // namespace zelta
