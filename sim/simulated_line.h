// A SerialLine that connects a program to a BusSimulator on the same clock:
// what the program writes reaches the modules, their reply bytes come back one
// at a time. In-memory, no device. Opening can be made to fail for tests:
// a port that does not exist, or any failure the system could report.
// A delivery threshold holds bytes back as a terminal driver does: they are
// handed over once as many as the threshold are in.
#pragma once

#include <deque>
#include <set>
#include <utility>

#include "platform/serial_line.h"
#include "sim/bus_simulator.h"

namespace zelta {

class SimulatedLine final : public SerialLine {
  Q_OBJECT
 public:
  explicit SimulatedLine(BusSimulator& bus, QObject* parent = nullptr);
  ~SimulatedLine() override;

  // Port numbers that exist; by default every number from 1 to 256.
  void setAvailablePorts(std::set<int> ports);
  // The far end vanishes (as a pulled USB adapter): lineFailed, writes fail.
  void failNow(const QString& reason);
  // The next open fails with this error (device and system text as given).
  void failNextOpen(LineError error) { nextOpenFailure_ = std::move(error); }

  bool openPort(int number) override;
  bool openDevice(const QString& path) override;
  void close() override;
  bool isOpen() const override { return open_; }
  bool write(const Frame& frame) override;
  LineError lastError() const override { return error_; }
  void setDeliveryThreshold(int bytes) override;
  void deliverHeldBytes() override;

  int openedPort() const { return port_; }
  QString openedDevice() const { return device_; }

 private:
  // True (with error_ set) when an open must fail before the port is looked at.
  bool refuseOpen(const QString& device);
  void arrived(std::uint8_t byte);
  void releaseIfDue();
  // Hands over up to count held bytes, oldest first. A handler may take the
  // next ones itself meanwhile; order is kept either way.
  void release(std::size_t count);

  BusSimulator& bus_;
  // The bus's byte sink holds this weakly: the line may go before the bus.
  std::shared_ptr<SimulatedLine*> self_;
  std::set<int> ports_;
  bool allPorts_ = true;
  bool open_ = false;
  bool failed_ = false;
  int port_ = 0;
  QString device_;
  LineError error_;
  LineError nextOpenFailure_;
  std::deque<std::uint8_t> held_;
  std::size_t threshold_ = 1;
};

}  // namespace zelta
