// Follows a Reader scan on the simulated bus from the outside: every request
// written, every reply byte delivered, and the faults the simulator put into
// each reply. From the bytes and their times alone it works out what the
// Reader must have counted (missing answers, CRC errors) and shown (each
// module's last accepted value), and which injected faults led to which
// counts. Holds only what is still open, so it can follow a scan for days.
#pragma once

#include <QMetaObject>
#include <QString>
#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <vector>

#include "protocol/frame.h"
#include "protocol/receiver.h"
#include "reader/value_kind.h"
#include "sim/bus_simulator.h"

namespace zelta {

class Clock;
class SerialLine;

namespace testing {

class WireLedger {
 public:
  // Faults the simulator reports for one reply, as a bit set, and what
  // happened to the reply on the line: the Reader sent its next request while
  // the reply was still coming in (which empties the receiver), or the
  // receiver still held bytes of an earlier reply when this one began.
  enum Fault : unsigned {
    Dropped = 1, Corrupted = 2, StrayStart = 4, Late = 8, Other = 16,
    CutByRequest = 32, AfterLeftover = 64,
  };
  // Tally key of requests whose reply could not be told apart from others.
  static constexpr unsigned kUnmatched = 1024;
  static QString faultName(unsigned faults);

  // What came of the requests whose reply carried one set of faults.
  struct Tally {
    std::uint64_t requests = 0;
    std::uint64_t missing = 0;    // answer window ran out
    std::uint64_t crcErrors = 0;  // frames with a wrong check byte while the reply came in
    std::uint64_t accepted = 0;   // frames with a correct check byte while the reply came in
  };

  struct Value {
    ValueKind kind;
    int address;
    QString text;
  };

  // answerMs: the answer timer of the scan's rate (impedance requests, and
  // the temperature request just before an impedance sweep, wait 1450 ms).
  WireLedger(Clock& clock, BusSimulator& bus, SerialLine& line, int answerMs);
  ~WireLedger();

  std::uint64_t missingAnswers() const { return missing_; }
  std::uint64_t crcErrors() const { return crcErrors_; }
  std::uint64_t requestsSent() const { return sent_; }
  // Replies tied to their request by time only (their bytes were too damaged).
  std::uint64_t matchedByTime() const { return matchedByTime_; }
  std::size_t openRequests() const { return requests_.size(); }
  const std::map<unsigned, Tally>& tallies() const { return tallies_; }

  // The last accepted value of a module, as the Reader must show it.
  QString lastValue(ValueKind kind, int address) const;
  // Accepted values filed under a module, in arrival order, since the last call.
  std::vector<Value> takeValues();

  // The last request's window: resolved once the scan is over and its answer
  // timer has run out.
  void finish();

 private:
  struct Request {
    qint64 sentMs = 0;
    std::uint16_t address = 0;
    std::uint8_t command = 0;
    std::optional<qint64> firstValidMs;  // first valid frame after the request
    bool resolved = false;
    bool missing = false;
    bool matched = false;
    unsigned faults = 0;
    std::uint64_t crcErrors = 0;
    std::uint64_t accepted = 0;
  };
  class Expectations;

  void hostWrote(const Frame& frame);
  void byteArrived(std::uint8_t byte);
  void replyCrossed(const BusSimulator::TraceEvent& event);
  void resolve(Request& r, std::optional<std::uint8_t> nextCommand, qint64 nextSentMs);
  Request* match(const BusSimulator::TraceEvent& event, unsigned faults);
  void settle();
  void accept(ValueKind kind, const Frame& f, const QString& text);

  Clock& clock_;
  BusSimulator& bus_;
  int answerMs_;
  QMetaObject::Connection bytes_;
  FrameReceiver receiver_;
  std::unique_ptr<Expectations> expectations_;

  std::deque<Request> requests_;
  std::uint64_t inflightCrc_ = 0;
  std::uint64_t inflightAccepted_ = 0;
  std::uint64_t inflightBytes_ = 0;
  unsigned inflightEffects_ = 0;

  std::uint64_t sent_ = 0;
  std::uint64_t missing_ = 0;
  std::uint64_t crcErrors_ = 0;
  std::uint64_t matchedByTime_ = 0;
  std::map<unsigned, Tally> tallies_;
  std::array<std::array<QString, kModuleCount>, kAllKinds.size()> last_;
  std::vector<Value> values_;
};

}  // namespace testing
}  // namespace zelta
