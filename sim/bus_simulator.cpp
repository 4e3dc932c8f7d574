#include "sim/bus_simulator.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>

#include "platform/clock.h"
#include "protocol/commands.h"

namespace zelta {
namespace {

constexpr double kByteUs = kByteMs * 1000.0;
constexpr double kFrameUs = kByteUs * static_cast<double>(kFrameSize);
constexpr std::uint16_t kLineCheckFirstNumber = 300;

std::uint8_t hi(std::uint16_t v) { return static_cast<std::uint8_t>(v >> 8); }
std::uint8_t lo(std::uint16_t v) { return static_cast<std::uint8_t>(v & 0xFF); }
std::uint16_t word(std::uint8_t h, std::uint8_t l) { return static_cast<std::uint16_t>(h << 8 | l); }

Frame replyFrame(std::uint16_t from, std::uint8_t command, std::uint8_t d4 = 0, std::uint8_t d5 = 0,
                 std::uint8_t d6 = 0, std::uint8_t d7 = 0, std::uint8_t d8 = 0, std::uint8_t d9 = 0) {
  return buildFrame(Payload{hi(from), lo(from), command, d4, d5, d6, d7, d8, d9});
}

LedState ledFromByte(std::uint8_t b) {
  switch (b) {
    case static_cast<std::uint8_t>(LedState::Green): return LedState::Green;
    case static_cast<std::uint8_t>(LedState::Red): return LedState::Red;
    default: return LedState::Off;
  }
}

}  // namespace

struct BusSimulator::Impl {
  struct Module {
    ModuleState state;
    std::optional<std::uint16_t> armed;
    std::uint64_t flashRun = 0;  // bumped to cancel a running LED alternation
    std::uint64_t burstRun = 0;  // bumped to cancel a running line-check burst
    ModuleFaults faults;
    InjectedFaults injected;
  };

  Impl(Clock& c, std::uint32_t seed) : clock(c), rng(seed), driftRng(seed ^ 0x9E3779B9u) {}

  Clock& clock;
  std::mt19937 rng;       // module values and faults: a seed repeats a run
  std::mt19937 driftRng;  // kept apart so that drift does not move the faults
  std::deque<Module> modules;  // deque: references handed out stay valid
  double turnaroundUs = 3000;
  std::size_t replyChunk = 1;
  double linePaceUs = 20000;
  FaultRates rates;
  InjectedFaults injected;
  std::optional<std::pair<std::uint16_t, std::uint16_t>> silent;
  bool drift = false;
  double hostLineFreeUs = 0;
  std::map<double, double> replyLineBusy;  // start -> end, in microseconds
  std::function<void(std::uint8_t)> sink;
  std::function<void(const TraceEvent&)> trace;
  std::vector<WireFrame> hostFrames;
  // Callbacks on the clock may outlive the simulator; they hold this weakly.
  std::shared_ptr<Impl*> self = std::make_shared<Impl*>(this);

  double nowUs() const { return static_cast<double>(clock.nowMs()) * 1000.0; }

  double uniform() { return static_cast<double>(rng()) / 4294967296.0; }
  bool chance(double rate) { return rate > 0 && uniform() < rate; }

  // Runs fn at the clock millisecond of atMs (never in the past).
  void at(qint64 atMs, std::function<void(Impl&)> fn) {
    const qint64 delay = std::max<qint64>(0, atMs - clock.nowMs());
    std::weak_ptr<Impl*> token = self;
    clock.callAfter(delay, [token, fn = std::move(fn)] {
      if (auto alive = token.lock()) fn(**alive);
    });
  }
  static qint64 roundMs(double us) { return std::llround(us / 1000.0); }
  static qint64 ceilMs(double us) { return static_cast<qint64>(std::ceil(us / 1000.0 - 1e-9)); }

  bool isSilent(const Module& m) const {
    return silent && m.state.address >= silent->first && m.state.address <= silent->second;
  }

  void hostWrote(const Frame& frame) {
    hostFrames.push_back({clock.nowMs(), frame});
    if (trace) trace({clock.nowMs(), true, {frame.begin(), frame.end()}, {}});
    // Frames written back to back leave the UART one after the other.
    const double start = std::max(nowUs(), hostLineFreeUs);
    const double end = start + kFrameUs;
    hostLineFreeUs = end;
    at(ceilMs(end), [frame, end](Impl& impl) { impl.received(frame, end); });
  }

  // A request has completely crossed the line at endUs: every module hears it.
  void received(const Frame& frame, double endUs) {
    if (!hasValidCheckByte(frame)) return;
    std::vector<Frame> replies;
    std::string note;
    for (Module& m : modules) {
      if (isSilent(m)) continue;
      if (auto r = react(m, frame)) {
        if (!isSilent(m) && !moduleFault(m, *r, note)) replies.push_back(*r);
      }
    }
    if (replies.empty()) {
      if (!note.empty() && trace) trace({clock.nowMs(), false, {}, note});
      return;
    }
    // Modules that answer the same request start together; on the open-drain
    // bus a bit is high only when every sender leaves it high.
    Frame combined = replies.front();
    for (std::size_t i = 1; i < replies.size(); ++i)
      for (std::size_t k = 0; k < kFrameSize; ++k) combined[k] &= replies[i][k];
    if (replies.size() > 1) note = "collision of " + std::to_string(replies.size()) + " replies";
    transmit(combined, endUs + turnaroundUs, std::move(note));
  }

  // A flaky module's own faults on its reply: true when the reply is lost.
  // Nothing is drawn from the generator for a module without faults, so
  // seeded runs without them stay as they were.
  bool moduleFault(Module& m, Frame& reply, std::string& note) {
    if (chance(m.faults.missingReply)) {
      ++m.injected.missingReplies;
      note = "reply of module " + std::to_string(m.state.address) + " dropped";
      return true;
    }
    if (chance(m.faults.corruptReply)) {
      reply[1 + rng() % (kFrameSize - 1)] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
      ++m.injected.corruptedReplies;
      note = "corrupted";
    }
    return false;
  }

  std::optional<Frame> react(Module& m, const Frame& f) {
    ModuleState& s = m.state;
    const std::uint16_t to = frameAddress(f);
    const std::uint8_t command = frameCommand(f);
    const bool mine = to == s.address;

    if (s.flashing) {
      if (command == cmd::ModuleSearch && mine &&
          f[4] == static_cast<std::uint8_t>(SearchAction::StopFlashing)) {
        stopFlashing(m);
        return replyFrame(s.address, command, f[4]);
      }
      return std::nullopt;
    }

    switch (command) {
      case cmd::Temperature:
      case cmd::Voltage:
      case cmd::Impedance:
      case cmd::Collective:
      case cmd::HardwareRevision:
      case cmd::SoftwareRevision:
      case cmd::ModuleType: {
        if (!mine) return std::nullopt;
        const Frame r = valueReply(s, command);
        if (drift) driftValues(s);
        return r;
      }
      case cmd::ModuleSearch:
        if (!mine) return std::nullopt;
        if (f[4] == static_cast<std::uint8_t>(SearchAction::StartFlashing)) {
          startFlashing(m);
          return replyFrame(s.address, command, f[4]);
        }
        if (f[4] == static_cast<std::uint8_t>(SearchAction::StopFlashing))
          return replyFrame(s.address, command, f[4]);
        return std::nullopt;
      case cmd::Address:
        if (f[4] == 0 && (to == cmd::Wildcard || mine))
          return replyFrame(s.address, command, 0, hi(s.address), lo(s.address));
        if (f[4] == 1 && mine) {
          s.address = word(f[5], f[6]);
          return replyFrame(s.address, command, 1, f[5], f[6]);
        }
        return std::nullopt;
      case cmd::AutoAddress:
        if (to == cmd::Wildcard) m.armed = word(f[4], f[5]);
        return std::nullopt;
      case cmd::StopAuto:
        if (to == cmd::Wildcard) m.armed.reset();
        return std::nullopt;
      case cmd::SetLed:
        if (to == 0 && s.address == 0) s.led = ledFromByte(f[4]);
        return std::nullopt;
      default:  // the line-check ping among them: nothing to do
        return std::nullopt;
    }
  }

  static Frame valueReply(const ModuleState& s, std::uint8_t command) {
    switch (command) {
      case cmd::Temperature: return replyFrame(s.address, command, s.temperatureByte);
      case cmd::Voltage: return replyFrame(s.address, command, hi(s.millivolts), lo(s.millivolts));
      case cmd::Impedance: return replyFrame(s.address, command, hi(s.impedance), lo(s.impedance));
      case cmd::Collective:
        return replyFrame(s.address, command, s.temperatureByte, hi(s.millivolts), lo(s.millivolts), 0,
                          s.status, s.error);
      case cmd::HardwareRevision: return replyFrame(s.address, command, s.hwMajor, s.hwMinor);
      case cmd::SoftwareRevision:
        return replyFrame(s.address, command, s.swMajor, s.swMinor, s.swPatch);
      default: return replyFrame(s.address, command, s.typeCode);
    }
  }

  void driftValues(ModuleState& s) {
    auto step = [this](int span) { return static_cast<int>(driftRng() % (2 * span + 1)) - span; };
    s.millivolts = static_cast<std::uint16_t>(std::clamp(s.millivolts + step(3), 10500, 14800));
    if (driftRng() % 20 == 0)
      s.temperatureByte = static_cast<std::uint8_t>(std::clamp(s.temperatureByte + step(1), 88, 168));
    if (driftRng() % 10 == 0)
      s.impedance = static_cast<std::uint16_t>(std::clamp(s.impedance + step(1), 50, 2000));
  }

  void startFlashing(Module& m) {
    m.state.flashing = true;
    m.state.led = LedState::Green;
    const std::uint64_t run = ++m.flashRun;
    const std::size_t index = indexOf(m);
    alternate(index, run);
  }
  void alternate(std::size_t index, std::uint64_t run) {
    at(clock.nowMs() + 500, [index, run](Impl& impl) {
      Module& m = impl.modules[index];
      if (m.flashRun != run || !m.state.flashing) return;
      m.state.led = m.state.led == LedState::Green ? LedState::Red : LedState::Green;
      impl.alternate(index, run);
    });
  }
  void stopFlashing(Module& m) {
    m.state.flashing = false;
    m.state.led = LedState::Off;
    ++m.flashRun;
  }
  std::size_t indexOf(const Module& m) const {
    for (std::size_t i = 0; i < modules.size(); ++i)
      if (&modules[i] == &m) return i;
    return 0;
  }

  void pressButton(Module& m) {
    if (m.state.flashing) {
      stopFlashing(m);
      return;
    }
    if (!m.armed) return;
    const std::uint16_t n = *m.armed;
    m.armed.reset();
    m.state.address = n;
    if (!isSilent(m)) transmit(replyFrame(n, cmd::AutoAddress, hi(n), lo(n)), nowUs() + turnaroundUs, {});
  }

  void powerUpWithButtonHeld(std::size_t index) {
    Module& m = modules[index];
    stopFlashing(m);
    m.armed.reset();
    const std::uint64_t run = ++m.burstRun;
    const double firstUs = nowUs() + linePaceUs;
    sendLineCheck(index, run, firstUs, 0);
  }
  void sendLineCheck(std::size_t index, std::uint64_t run, double firstUs, int k) {
    const double t = firstUs + k * linePaceUs;
    at(roundMs(t), [index, run, firstUs, k, t](Impl& impl) {
      Module& m = impl.modules[index];
      if (m.burstRun != run) return;
      const auto number = static_cast<std::uint16_t>(kLineCheckFirstNumber - k);
      if (!impl.isSilent(m))
        impl.transmit(replyFrame(m.state.address, cmd::Ping, hi(number), lo(number)), t, {});
      if (number > 0) impl.sendLineCheck(index, run, firstUs, k + 1);
    });
  }

  // Finds the first quiet stretch on the reply line from earliestUs on and
  // books it: a module does not start talking over another transmission.
  double bookReplyLine(double earliestUs, double durationUs) {
    const double now = nowUs();
    while (!replyLineBusy.empty() && replyLineBusy.begin()->second < now - 1000.0)
      replyLineBusy.erase(replyLineBusy.begin());
    double start = earliestUs;
    for (const auto& [s, e] : replyLineBusy) {
      if (e <= start) continue;
      if (s >= start + durationUs) break;
      start = e;
    }
    replyLineBusy.emplace(start, start + durationUs);
    return start;
  }

  void transmit(const Frame& frame, double earliestUs, std::string note) {
    auto addNote = [&note](const char* text) {
      if (!note.empty()) note += ", ";
      note += text;
    };
    if (chance(rates.missingReply)) {
      ++injected.missingReplies;
      addNote("reply dropped");
      if (trace) trace({clock.nowMs(), false, {}, note});
      return;
    }
    if (chance(rates.lateReply)) {
      ++injected.lateReplies;
      earliestUs += rates.lateByMs * 1000.0;
      addNote("late");
    }
    std::vector<std::uint8_t> bytes;
    if (chance(rates.noiseByte)) {
      // Any value but the start byte, which is the stray-start fault's job.
      auto b = static_cast<std::uint8_t>(rng() % 255);
      if (b >= kStartByte) ++b;
      bytes.push_back(b);
      ++injected.noiseBytes;
      addNote("noise byte");
    }
    if (chance(rates.strayStart)) {
      bytes.push_back(kStartByte);
      ++injected.strayStarts;
      addNote("stray start byte");
    }
    bool corrupted = false;
    for (std::uint8_t b : frame) {
      if (chance(rates.corruptByte)) {
        b ^= static_cast<std::uint8_t>(1u << (rng() % 8));
        corrupted = true;
      }
      bytes.push_back(b);
    }
    if (corrupted) {
      ++injected.corruptedReplies;
      addNote("corrupted");
    }

    const double start = bookReplyLine(earliestUs, static_cast<double>(bytes.size()) * kByteUs);
    for (std::size_t k = 0; k < bytes.size(); ++k) {
      const bool last = k + 1 == bytes.size();
      const std::uint8_t b = bytes[k];
      std::function<void(Impl&)> deliver;
      if (last) {
        deliver = [b, bytes, note](Impl& impl) {
          if (impl.sink) impl.sink(b);
          if (impl.trace) impl.trace({impl.clock.nowMs(), false, bytes, note});
        };
      } else {
        deliver = [b](Impl& impl) {
          if (impl.sink) impl.sink(b);
        };
      }
      const std::size_t through = std::min((k / replyChunk + 1) * replyChunk, bytes.size());
      at(roundMs(start + static_cast<double>(through) * kByteUs), std::move(deliver));
    }
  }
};

BusSimulator::BusSimulator(Clock& clock, std::uint32_t seed)
    : impl_(std::make_unique<Impl>(clock, seed)) {}

BusSimulator::~BusSimulator() = default;

int BusSimulator::addModule(const ModuleState& state) {
  impl_->modules.push_back({state, std::nullopt, 0, 0, {}, {}});
  return static_cast<int>(impl_->modules.size()) - 1;
}

void BusSimulator::addModules(int count, std::uint16_t firstAddress) {
  for (int i = 0; i < count; ++i) {
    ModuleState s;
    s.address = firstAddress == 0 ? 0 : static_cast<std::uint16_t>(std::min(firstAddress + i, 0xFFFF));
    s.millivolts = static_cast<std::uint16_t>(12000 + impl_->rng() % 1801);      // 12.0 to 13.8 V
    s.temperatureByte = static_cast<std::uint8_t>(108 + impl_->rng() % 41);    // 15 to 35 degrees
    s.impedance = static_cast<std::uint16_t>(100 + impl_->rng() % 901);        // 1 to 10 mOhm
    addModule(s);
  }
}

int BusSimulator::moduleCount() const { return static_cast<int>(impl_->modules.size()); }

ModuleState& BusSimulator::module(int index) { return impl_->modules.at(static_cast<std::size_t>(index)).state; }

std::optional<int> BusSimulator::findModule(std::uint16_t address) const {
  for (std::size_t i = 0; i < impl_->modules.size(); ++i)
    if (impl_->modules[i].state.address == address) return static_cast<int>(i);
  return std::nullopt;
}

void BusSimulator::pressButton(int index) { impl_->pressButton(impl_->modules.at(static_cast<std::size_t>(index))); }

void BusSimulator::powerUpWithButtonHeld(int index) {
  impl_->modules.at(static_cast<std::size_t>(index));  // range check
  impl_->powerUpWithButtonHeld(static_cast<std::size_t>(index));
}

void BusSimulator::setLineCheckPaceMs(double ms) { impl_->linePaceUs = std::max(kFrameUs, ms * 1000.0); }

std::optional<std::uint16_t> BusSimulator::armedAddress(int index) const {
  return impl_->modules.at(static_cast<std::size_t>(index)).armed;
}

void BusSimulator::setTurnaroundMs(double ms) { impl_->turnaroundUs = std::max(0.0, ms * 1000.0); }

void BusSimulator::setReplyChunkBytes(int bytes) {
  impl_->replyChunk = static_cast<std::size_t>(std::max(1, bytes));
}

void BusSimulator::setFaults(const FaultRates& rates) { impl_->rates = rates; }

void BusSimulator::setSilentRange(std::uint16_t first, std::uint16_t last) {
  impl_->silent = std::make_pair(first, last);
}

void BusSimulator::clearSilentRange() { impl_->silent.reset(); }

void BusSimulator::setDrift(bool on) { impl_->drift = on; }

const InjectedFaults& BusSimulator::injected() const { return impl_->injected; }

void BusSimulator::setModuleFaults(int index, const ModuleFaults& faults) {
  impl_->modules.at(static_cast<std::size_t>(index)).faults = faults;
}

ModuleFaults BusSimulator::moduleFaults(int index) const {
  return impl_->modules.at(static_cast<std::size_t>(index)).faults;
}

InjectedFaults BusSimulator::injectedBy(int index) const {
  return impl_->modules.at(static_cast<std::size_t>(index)).injected;
}

Clock& BusSimulator::clock() const { return impl_->clock; }
void BusSimulator::hostWrote(const Frame& frame) { impl_->hostWrote(frame); }

void BusSimulator::setByteSink(std::function<void(std::uint8_t)> sink) { impl_->sink = std::move(sink); }

const std::vector<BusSimulator::WireFrame>& BusSimulator::hostFrames() const { return impl_->hostFrames; }

void BusSimulator::clearHostFrames() { impl_->hostFrames.clear(); }

void BusSimulator::setTraceSink(std::function<void(const TraceEvent&)> sink) { impl_->trace = std::move(sink); }

}  // namespace zelta
