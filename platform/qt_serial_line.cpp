#include "qt_serial_line.h"

#include <QFileInfo>
#include <QPointer>
#include <algorithm>

#include "platform/tty_read_threshold.h"

namespace zelta {

QtSerialLine::QtSerialLine(QObject* parent) : SerialLine(parent) {
  connect(&port_, &QSerialPort::readyRead, this, &QtSerialLine::onReadyRead);
  connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialLine::onError);
  resume_.setSingleShot(true);
  resume_.setTimerType(Qt::PreciseTimer);
  connect(&resume_, &QTimer::timeout, this, &QtSerialLine::resumeWatching);
}

QtSerialLine::~QtSerialLine() {
  port_.disconnect(this);
  if (port_.isOpen()) port_.close();
}

QString QtSerialLine::deviceForPort(int number) {
#ifdef Q_OS_WIN
  return QStringLiteral("COM%1").arg(number);
#else
  const QByteArray variable = "ZELTA_COM" + QByteArray::number(number);
  const QString named = qEnvironmentVariable(variable.constData());
  if (!named.isEmpty()) return named;
  return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

bool QtSerialLine::openPort(int number) {
  if (number < 1) {
    error_ = {LineError::Kind::NoPortNumber, QStringLiteral("COM%1").arg(number), {}};
    return false;
  }
  return openDevice(deviceForPort(number));
}

LineError::Kind QtSerialLine::openFailureKind(QSerialPort::SerialPortError error,
                                              bool deviceExists, bool userMayReadAndWrite) {
  switch (error) {
    case QSerialPort::DeviceNotFoundError:
      return LineError::Kind::NoSuchDevice;
    case QSerialPort::PermissionError:
      // Also what QSerialPort says when another program holds the device's
      // lock file, or the device refuses a second opener.
      if (!deviceExists) return LineError::Kind::NoSuchDevice;
      return userMayReadAndWrite ? LineError::Kind::Busy : LineError::Kind::PermissionDenied;
    case QSerialPort::OpenError:
      return LineError::Kind::Busy;
    default:
      return LineError::Kind::Other;
  }
}

void QtSerialLine::openFailed(const QString& path) {
#ifdef Q_OS_WIN
  // A COM port has no file to look at; access denied means it is in use.
  const bool exists = true;
  const bool mayUse = true;
#else
  const QFileInfo device(path);
  const bool exists = device.exists();
  const bool mayUse = device.isReadable() && device.isWritable();
#endif
  error_ = {openFailureKind(port_.error(), exists, mayUse), path, port_.errorString()};
  port_.clearError();
}

bool QtSerialLine::openDevice(const QString& path) {
  close();
  ++session_;
  device_ = path;
  port_.setPortName(path);
  port_.setBaudRate(QSerialPort::Baud9600);
  port_.setDataBits(QSerialPort::Data8);
  port_.setParity(QSerialPort::NoParity);
  port_.setStopBits(QSerialPort::OneStop);
  port_.setFlowControl(QSerialPort::NoFlowControl);
  if (!port_.open(QIODevice::ReadWrite)) {
    openFailed(path);
    return false;
  }
  error_ = {};
  return true;
}

void QtSerialLine::close() {
  pending_.clear();
  threshold_ = applied_ = 1;  // how QSerialPort opens a device
  resume_.stop();
  notifier_ = nullptr;  // QSerialPort makes a new one on the next open
  failed_ = false;
  if (port_.isOpen()) port_.close();
  port_.clearError();
}

bool QtSerialLine::isOpen() const { return port_.isOpen() && !failed_; }

bool QtSerialLine::write(const Frame& frame) {
  if (!isOpen()) return false;
  const auto size = static_cast<qint64>(frame.size());
  if (port_.write(reinterpret_cast<const char*>(frame.data()), size) != size) return false;
  // Hands the frame to the device now, in one write, instead of on the next
  // turn of the event loop; a device that has gone shows here.
  port_.flush();
  return isOpen();
}

void QtSerialLine::setDeliveryThreshold(int bytes) {
  threshold_ = std::clamp(bytes, 1, 255);
  if (!delivering_) applyThreshold();
}

void QtSerialLine::applyThreshold() {
  if (failed_ || !port_.isOpen()) return;
  if (threshold_ != applied_ && setTtyReadThreshold(port_.handle(), threshold_)) {
    applied_ = threshold_;
  }
  // The line looks again once all but the last two awaited bytes can have
  // come: one byte's time to spare for the program's own wake-up, so a frame
  // is not handed over later than without the pause.
  pauseWatching(applied_ - 2);
}

QSocketNotifier* QtSerialLine::readNotifier() {
  if (!notifier_) {
    const auto notifiers = port_.findChildren<QSocketNotifier*>(Qt::FindDirectChildrenOnly);
    for (QSocketNotifier* notifier : notifiers) {
      if (notifier->type() == QSocketNotifier::Read) notifier_ = notifier;
    }
  }
  return notifier_;
}

void QtSerialLine::pauseWatching(int bytes) {
  // The bytes cannot come faster than the wire carries them.
  const int pauseMs = static_cast<int>(bytes * kByteMs);
  if (pauseMs <= 0) {
    resumeWatching();
    return;
  }
  QSocketNotifier* notifier = readNotifier();
  if (!notifier) return;
  notifier->setEnabled(false);
  resume_.start(pauseMs);
}

void QtSerialLine::resumeWatching() {
  resume_.stop();
  if (notifier_) notifier_->setEnabled(true);
}

void QtSerialLine::deliverHeldBytes() {
  // While a delivery runs, its own loop hands over what follows, in order.
  if (delivering_ || failed_ || !port_.isOpen() || applied_ <= 1) return;
  // Anything QSerialPort has already read comes before what the driver holds.
  if (port_.bytesAvailable() == 0) {
    pending_.resize(applied_ - 1);
    pending_.resize(readWaitingBytes(port_.handle(), pending_.data(), pending_.size()));
  }
  deliver();
}

void QtSerialLine::onReadyRead() {
  if (failed_ || delivering_) return;
  deliver();
}

void QtSerialLine::deliver() {
  // QSerialPort does not announce bytes that arrive while a handler of ours
  // runs a nested event loop (a message box): they are fetched here after
  // the ones before them have been delivered.
  delivering_ = true;
  QPointer<QtSerialLine> alive(this);
  for (;;) {
    if (pending_.isEmpty()) {
      if (failed_ || !port_.isOpen() || port_.bytesAvailable() == 0) break;
      pending_ = port_.readAll();
      continue;
    }
    const auto byte = static_cast<quint8>(pending_.front());
    pending_.remove(0, 1);
    emit byteReceived(byte);
    if (!alive) return;
  }
  delivering_ = false;
  applyThreshold();
}

void QtSerialLine::onError(QSerialPort::SerialPortError error) {
  switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::PermissionError:
      if (port_.isOpen()) fail(port_.errorString());
      break;
    default:
      break;
  }
}

void QtSerialLine::fail(const QString& reason) {
  if (failed_) return;
  failed_ = true;
  pending_.clear();
  error_ = {LineError::Kind::Lost, device_, reason};
  // QSerialPort is inside its own notifier here: close on the next turn.
  const quint64 session = session_;
  QMetaObject::invokeMethod(
      this,
      [this, session] {
        if (session != session_ || !failed_) return;  // closed or reopened meanwhile
        if (port_.isOpen()) port_.close();
        port_.clearError();
        emit lineFailed(explain(error_));
      },
      Qt::QueuedConnection);
}

}  // namespace zelta
