#include "wire_ledger.h"

#include <QStringList>

#include "platform/clock.h"
#include "platform/serial_line.h"
#include "protocol/commands.h"
#include "protocol/dispatch.h"
#include "reader/number_text.h"

namespace zelta::testing {
namespace {

constexpr int kImpedanceAnswerMs = 1450;
// A request crosses the line in 11 bytes at 9600 baud; the module acts on it
// at the next whole millisecond.
constexpr qint64 kRequestCrossingMs = 12;

unsigned faultsOf(const std::string& note) {
  unsigned f = 0;
  const auto has = [&](const char* text) { return note.find(text) != std::string::npos; };
  if (has("reply dropped")) f |= WireLedger::Dropped;
  if (has("corrupted")) f |= WireLedger::Corrupted;
  if (has("stray start byte")) f |= WireLedger::StrayStart;
  if (has("late")) f |= WireLedger::Late;
  if (has("noise") || has("collision")) f |= WireLedger::Other;
  return f;
}

}  // namespace

// What the Reader's reply handlers must make of each accepted frame.
class WireLedger::Expectations final : public ReaderReplies {
 public:
  explicit Expectations(WireLedger& l) : l_(l) {}
  void up_t_auswert(const Frame& f, double c) override {
    l_.accept(ValueKind::Temperature, f, generalText(c));
  }
  void up_u_auswert(const Frame& f, double v) override {
    l_.accept(ValueKind::Voltage, f, voltageText(v));
  }
  void up_z_auswert(const Frame& f, double z) override {
    l_.accept(ValueKind::Impedance, f, generalText(z));
  }
  void up_sammel_auswert(const Frame&, const decode::CollectiveReading&) override {}
  void up_hw(const Frame& f, const std::string& r) override {
    l_.accept(ValueKind::Hardware, f, QString::fromStdString(r));
  }
  void up_sw(const Frame& f, const std::string& r) override {
    l_.accept(ValueKind::Software, f, QString::fromStdString(r));
  }
  void up_modul(const Frame& f, const std::optional<std::string>& name) override {
    // A code without a name shows (and logs) the value kept before.
    const int a = frameAddress(f);
    const QString kept = a >= 1 && a <= kModuleCount ? l_.lastValue(ValueKind::ModuleType, a) : QString();
    l_.accept(ValueKind::ModuleType, f, name ? QString::fromStdString(*name) : kept);
  }

 private:
  WireLedger& l_;
};

QString WireLedger::faultName(unsigned faults) {
  if (faults == kUnmatched) return QStringLiteral("no reply seen");
  if (faults == 0) return QStringLiteral("clean");
  QStringList names;
  if (faults & Dropped) names << "dropped";
  if (faults & Corrupted) names << "corrupted";
  if (faults & StrayStart) names << "stray #";
  if (faults & Late) names << "late";
  if (faults & Other) names << "other";
  if (faults & CutByRequest) names << "cut by next request";
  if (faults & AfterLeftover) names << "after leftover";
  return names.join(" + ");
}

WireLedger::WireLedger(Clock& clock, BusSimulator& bus, SerialLine& line, int answerMs)
    : clock_(clock), bus_(bus), answerMs_(answerMs),
      expectations_(std::make_unique<Expectations>(*this)) {
  bus_.setTraceSink([this](const BusSimulator::TraceEvent& e) {
    if (e.fromHost) {
      Frame f{};
      std::copy_n(e.bytes.begin(), std::min(e.bytes.size(), f.size()), f.begin());
      hostWrote(f);
    } else {
      replyCrossed(e);
    }
  });
  bytes_ = QObject::connect(&line, &SerialLine::byteReceived, [this](quint8 b) { byteArrived(b); });
}

WireLedger::~WireLedger() {
  QObject::disconnect(bytes_);
  bus_.setTraceSink(nullptr);
}

QString WireLedger::lastValue(ValueKind kind, int address) const {
  return last_[static_cast<std::size_t>(kind)][static_cast<std::size_t>(address - 1)];
}

std::vector<WireLedger::Value> WireLedger::takeValues() {
  std::vector<Value> out;
  out.swap(values_);
  return out;
}

void WireLedger::hostWrote(const Frame& frame) {
  const qint64 now = clock_.nowMs();
  ++sent_;
  for (Request& r : requests_)
    if (!r.resolved) resolve(r, frameCommand(frame), now);
  if (inflightBytes_ > 0) inflightEffects_ |= CutByRequest;
  receiver_.clear();  // the Reader forgets a partly received reply on every request
  Request r;
  r.sentMs = now;
  r.address = frameAddress(frame);
  r.command = frameCommand(frame);
  requests_.push_back(r);
  settle();
}

// The answer timer runs from the request; the first valid frame stops it. A
// frame completing at the very millisecond the timer runs out comes after the
// tick, since the timer was armed first.
void WireLedger::resolve(Request& r, std::optional<std::uint8_t> nextCommand, qint64 nextSentMs) {
  int interval = answerMs_;
  if (r.command == cmd::Impedance || (r.command == cmd::Temperature && nextCommand == cmd::Impedance))
    interval = kImpedanceAnswerMs;
  const qint64 deadline = r.sentMs + interval;
  const bool answered = r.firstValidMs && *r.firstValidMs < deadline;
  // A new request before the deadline restarts the timer: nothing counted.
  r.missing = !answered && nextSentMs >= deadline;
  r.resolved = true;
  if (r.missing) ++missing_;
}

void WireLedger::byteArrived(std::uint8_t byte) {
  if (inflightBytes_++ == 0 && receiver_.pending() > 0) inflightEffects_ |= AfterLeftover;
  switch (receiver_.push(byte)) {
    case FrameReceiver::Outcome::CrcError:
      ++crcErrors_;
      ++inflightCrc_;
      break;
    case FrameReceiver::Outcome::Complete: {
      ++inflightAccepted_;
      if (!requests_.empty() && !requests_.back().resolved && !requests_.back().firstValidMs)
        requests_.back().firstValidMs = clock_.nowMs();
      dispatchReaderReply(receiver_.frame(), *expectations_);
      break;
    }
    default: break;
  }
}

void WireLedger::accept(ValueKind kind, const Frame& f, const QString& text) {
  const int address = frameAddress(f);
  if (address < 1 || address > kModuleCount) return;
  last_[static_cast<std::size_t>(kind)][static_cast<std::size_t>(address - 1)] = text;
  values_.push_back({kind, address, text});
}

// Each request to a present module draws exactly one reply event. A dropped
// reply is reported when the module acts on the request; any other when its
// last byte has arrived, possibly after later requests (a late reply).
WireLedger::Request* WireLedger::match(const BusSimulator::TraceEvent& e, unsigned faults) {
  const qint64 now = clock_.nowMs();
  if (faults & Dropped) {
    for (auto it = requests_.rbegin(); it != requests_.rend(); ++it)
      if (!it->matched && it->sentMs + kRequestCrossingMs <= now) return &*it;
    return nullptr;
  }
  const std::size_t start = (faults & StrayStart) ? 1 : 0;
  if (e.bytes.size() >= start + kFrameSize) {
    const auto address = static_cast<std::uint16_t>(e.bytes[start + 1] << 8 | e.bytes[start + 2]);
    const std::uint8_t command = e.bytes[start + 3];
    for (Request& r : requests_)
      if (!r.matched && r.address == address && r.command == command) return &r;
  }
  ++matchedByTime_;
  for (Request& r : requests_)
    if (!r.matched && r.sentMs + kRequestCrossingMs <= now) return &r;
  return nullptr;
}

void WireLedger::replyCrossed(const BusSimulator::TraceEvent& e) {
  const unsigned faults = faultsOf(e.note);
  Request* r = match(e, faults);
  if (r) {
    r->matched = true;
    r->faults = faults;
  }
  if (!(faults & Dropped)) {
    if (r) {
      r->crcErrors = inflightCrc_;
      r->accepted = inflightAccepted_;
      r->faults |= inflightEffects_;
    }
    inflightCrc_ = inflightAccepted_ = inflightBytes_ = 0;
    inflightEffects_ = 0;
  }
  settle();
}

void WireLedger::settle() {
  constexpr qint64 kLongestReplyMs = 5000;
  const qint64 now = clock_.nowMs();
  while (!requests_.empty() && requests_.front().resolved &&
         (requests_.front().matched || requests_.front().sentMs + kLongestReplyMs < now)) {
    const Request& r = requests_.front();
    Tally& t = tallies_[r.matched ? r.faults : kUnmatched];
    ++t.requests;
    t.missing += r.missing;
    t.crcErrors += r.crcErrors;
    t.accepted += r.accepted;
    requests_.pop_front();
  }
}

void WireLedger::finish() {
  if (!requests_.empty() && !requests_.back().resolved)
    resolve(requests_.back(), std::nullopt, clock_.nowMs());
  settle();
}

}  // namespace zelta::testing
