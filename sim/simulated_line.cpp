#include "sim/simulated_line.h"

#include <QPointer>
#include <algorithm>

#include "platform/clock.h"

namespace zelta {

namespace {
constexpr int kHighestPort = 256;
}

SimulatedLine::SimulatedLine(BusSimulator& bus, QObject* parent)
    : SerialLine(parent), bus_(bus), self_(std::make_shared<SimulatedLine*>(this)) {
  std::weak_ptr<SimulatedLine*> token = self_;
  bus_.setByteSink([token](std::uint8_t byte) {
    const auto alive = token.lock();
    if (!alive) return;
    SimulatedLine* line = *alive;
    // Bytes that arrive while the port is closed, or after the adapter is gone,
    // are lost, as on a real port.
    if (line->open_ && !line->failed_) line->arrived(byte);
  });
}

SimulatedLine::~SimulatedLine() = default;

void SimulatedLine::arrived(std::uint8_t byte) {
  held_.push_back(byte);
  releaseIfDue();
}

void SimulatedLine::releaseIfDue() {
  if (held_.size() >= threshold_) release(held_.size());
}

void SimulatedLine::release(std::size_t count) {
  const QPointer<SimulatedLine> alive(this);
  while (count-- > 0 && !held_.empty() && open_ && !failed_) {
    const std::uint8_t byte = held_.front();
    held_.pop_front();
    emit byteReceived(byte);
    if (!alive) return;  // the line went in the handler
  }
}

void SimulatedLine::setDeliveryThreshold(int bytes) {
  threshold_ = static_cast<std::size_t>(std::clamp(bytes, 1, 255));
  if (held_.size() < threshold_) return;
  // A driver whose threshold is lowered below what it holds wakes the program
  // on its next turn, not inside the call.
  QPointer<SimulatedLine> self(this);
  bus_.clock().callAfter(0, [self] {
    if (self) self->releaseIfDue();
  });
}

void SimulatedLine::deliverHeldBytes() { release(threshold_ - 1); }

void SimulatedLine::setAvailablePorts(std::set<int> ports) {
  ports_ = std::move(ports);
  allPorts_ = false;
}

void SimulatedLine::failNow(const QString& reason) {
  if (!open_ || failed_) return;
  failed_ = true;
  error_ = {LineError::Kind::Lost, device_, reason};
  emit lineFailed(explain(error_));
}

bool SimulatedLine::refuseOpen(const QString& device) {
  if (open_) {
    error_ = {LineError::Kind::Busy, device, QStringLiteral("already open")};
    return true;
  }
  if (nextOpenFailure_.kind != LineError::Kind::None) {
    error_ = std::exchange(nextOpenFailure_, {});
    return true;
  }
  return false;
}

bool SimulatedLine::openPort(int number) {
  const QString name = QStringLiteral("COM%1").arg(number);
  if (refuseOpen(name)) return false;
  const bool exists = allPorts_ ? (number >= 1 && number <= kHighestPort) : ports_.count(number) > 0;
  if (!exists) {
    error_ = {LineError::Kind::NoSuchDevice, name, QStringLiteral("no such port")};
    return false;
  }
  open_ = true;
  failed_ = false;
  port_ = number;
  device_ = name;
  error_ = {};
  return true;
}

bool SimulatedLine::openDevice(const QString& path) {
  if (refuseOpen(path)) return false;
  if (path.isEmpty()) {
    error_ = {LineError::Kind::NoSuchDevice, path, QStringLiteral("no device given")};
    return false;
  }
  open_ = true;
  failed_ = false;
  port_ = 0;
  device_ = path;
  error_ = {};
  return true;
}

void SimulatedLine::close() {
  open_ = false;
  held_.clear();
  threshold_ = 1;
  failed_ = false;
}

bool SimulatedLine::write(const Frame& frame) {
  if (!open_ || failed_) return false;  // error_ still says why the line failed
  bus_.hostWrote(frame);
  return true;
}

}  // namespace zelta
