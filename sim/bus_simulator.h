// A simulated string of battery modules on one serial bus, running on a Clock.
// Modules answer the requests of both programs as real modules do, with the
// line's byte timing (9600 baud 8N1: about 1.04 ms per byte), a turnaround
// delay, and optional faults drawn from a seeded generator so that runs repeat.
// Used in-process by the programs' tests (through SimulatedLine) and by the
// zelta_bus_sim tool on a pseudo-terminal.
//
// A module acts on a request once all 11 bytes have crossed the line (frames
// written back to back cross one after the other) and starts its reply after
// the turnaround. Modules that answer the same request talk at once and their
// bytes combine as on an open-drain bus (bitwise AND), which the program sees
// as garbage; otherwise a module waits for a quiet line before it talks.
#pragma once

#include <QtGlobal>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "protocol/frame.h"
#include "protocol/requests.h"

namespace zelta {

class Clock;

struct ModuleState {
  std::uint16_t address = 0;          // 0: not addressed yet
  std::uint16_t millivolts = 13200;
  std::uint8_t temperatureByte = 124;  // (byte - 78) / 2 = 23 degrees
  std::uint16_t impedance = 350;       // hundredths of a milliohm
  std::uint8_t hwMajor = 3, hwMinor = 1;
  std::uint8_t swMajor = 2, swMinor = 10, swPatch = 3;
  std::uint8_t typeCode = 1;  // "Q12"
  std::uint8_t status = 0x10;  // calibrated
  std::uint8_t error = 0;
  LedState led = LedState::Off;
  bool flashing = false;  // module search: flashing until button or stop
};

struct FaultRates {
  double missingReply = 0;  // probability a reply is not sent at all
  double corruptByte = 0;   // probability per reply byte of a flipped bit
  double noiseByte = 0;     // probability per reply of a noise byte before it
  double strayStart = 0;    // probability per reply of a stray "#" before it
  double lateReply = 0;     // probability a reply comes lateByMs late
  int lateByMs = 400;
};

// Faults of one module's replies, on top of the string's: a reply goes
// missing, or arrives with one bit flipped in one byte after the start byte
// (so that the program always sees a frame with a wrong check byte).
struct ModuleFaults {
  double missingReply = 0;
  double corruptReply = 0;
};

// What the simulator injected, counted per kind.
struct InjectedFaults {
  std::uint64_t missingReplies = 0;
  std::uint64_t corruptedReplies = 0;  // replies with at least one flipped byte
  std::uint64_t noiseBytes = 0;
  std::uint64_t strayStarts = 0;
  std::uint64_t lateReplies = 0;
};

class BusSimulator {
 public:
  explicit BusSimulator(Clock& clock, std::uint32_t seed = 1);
  ~BusSimulator();

  // Modules, by index in the order they were added.
  int addModule(const ModuleState& state);
  // Adds count modules with addresses first, first + 1, ... (0: all
  // unaddressed) and realistic values drawn from the seed.
  void addModules(int count, std::uint16_t firstAddress);
  int moduleCount() const;
  ModuleState& module(int index);
  // Index of the module that has this address, if any.
  std::optional<int> findModule(std::uint16_t address) const;

  // The installer's hand: press a module's button; power a module up with its
  // button held (it then sends 300 numbered line-check messages, 300 down to 0).
  // A press ends a module search on that module, or else takes the address of
  // a running automatic addressing and confirms it; the other modules stay
  // armed until the stop broadcast, as on the real bus.
  void pressButton(int index);
  void powerUpWithButtonHeld(int index);

  // Pace of the line-check messages after a power-up with the button held.
  void setLineCheckPaceMs(double ms);
  // Address a module takes on its next button press, while automatic
  // addressing is armed in it.
  std::optional<std::uint16_t> armedAddress(int index) const;

  void setTurnaroundMs(double ms);
  // Replies reach the sink in chunks of this many bytes, each when its last
  // byte is through, as a serial port's receive buffer hands them over; the
  // rest of a reply comes with its last byte. 1 (the default): byte by byte.
  void setReplyChunkBytes(int bytes);
  void setFaults(const FaultRates& rates);
  // Addresses in [first, last] never answer (a gap in the string).
  void setSilentRange(std::uint16_t first, std::uint16_t last);
  void clearSilentRange();
  // Values drift slowly (per request answered), so that long scans change.
  void setDrift(bool on);
  const InjectedFaults& injected() const;
  // Faults of the module at this index (a flaky module), and what they
  // injected into its replies (missing and corrupted replies only).
  void setModuleFaults(int index, const ModuleFaults& faults);
  ModuleFaults moduleFaults(int index) const;
  InjectedFaults injectedBy(int index) const;

  Clock& clock() const;
  // The line: a frame the program wrote at the clock's current time.
  void hostWrote(const Frame& frame);
  // Where reply bytes go, one call per byte at the time it arrives.
  void setByteSink(std::function<void(std::uint8_t)> sink);

  struct WireFrame {
    qint64 atMs;
    Frame frame;
  };
  // Every frame the program wrote, with the time it wrote it.
  const std::vector<WireFrame>& hostFrames() const;
  void clearHostFrames();

  // Every frame on the line, for a trace: host frames when written, module
  // transmissions when their last byte has arrived (bytes as they went over the
  // line, with any noise prefix, corruption or collision), and dropped replies
  // (no bytes).
  struct TraceEvent {
    qint64 atMs = 0;
    bool fromHost = false;
    std::vector<std::uint8_t> bytes;
    std::string note;  // injected faults, collisions
  };
  void setTraceSink(std::function<void(const TraceEvent&)> sink);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zelta
