// A bus on a virtual clock, reached through a SimulatedLine as the programs
// reach it, with every byte and every frame the program's receiver would see.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/virtual_clock.h"
#include "protocol/receiver.h"
#include "sim/bus_simulator.h"
#include "sim/simulated_line.h"
#include "tests/support/module_reply.h"

namespace zelta::test {

struct Arrival {
  qint64 atMs;
  Frame frame;
};

class BusFixture : public ::testing::Test {
 protected:
  explicit BusFixture(std::uint32_t seed = 1) : bus(clock, seed), line(bus) {
    QObject::connect(&line, &SerialLine::byteReceived, [this](quint8 b) {
      byteTimes.push_back(clock.nowMs());
      bytes.push_back(b);
      switch (receiver.push(b)) {
        case FrameReceiver::Outcome::Complete: frames.push_back({clock.nowMs(), receiver.frame()}); break;
        case FrameReceiver::Outcome::CrcError: ++crcErrors; break;
        default: break;
      }
    });
    line.openPort(1);
  }

  // Writes a request now and runs the clock long enough for any reply.
  void exchange(const Frame& request, qint64 waitMs = 100) {
    line.write(request);
    clock.advance(waitMs);
  }

  VirtualClock clock;
  BusSimulator bus;
  SimulatedLine line;
  FrameReceiver receiver;
  std::vector<std::uint8_t> bytes;
  std::vector<qint64> byteTimes;
  std::vector<Arrival> frames;
  int crcErrors = 0;
};

using testing::reply;

}  // namespace zelta::test
