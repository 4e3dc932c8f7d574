#include <gmock/gmock.h>

#include "protocol/commands.h"
#include "tests/sim/bus_fixture.h"

namespace zelta::test {
namespace {

using ::testing::ElementsAreArray;
using BusModules = BusFixture;

// Each value request is answered by the addressed module, from its address,
// with its own values; a frame with a wrong check byte by nobody.
TEST_F(BusModules, ValueRequestsAreAnsweredWithTheModulesValues) {
  for (std::uint16_t a : {7, 8})
    bus.addModule({.address = a, .millivolts = 0x3322, .temperatureByte = 0x7B, .impedance = 0x0155,
                   .typeCode = 21, .status = 0x31, .error = 0x04});
  const std::pair<Frame, Frame> cases[] = {
      {request::readerTemperature(7), frameOf({0, 7, 0x11, 0x7B})},
      {request::readerVoltage(7), frameOf({0, 7, 0x12, 0x33, 0x22})},
      {request::readerImpedance(7), frameOf({0, 7, 0x13, 0x01, 0x55})},
      {request::programmerImpedance(7), frameOf({0, 7, 0x13, 0x01, 0x55})},
      {request::collective(7), frameOf({0, 7, 0x14, 0x7B, 0x33, 0x22, 0, 0x31, 0x04})},
      {request::hardwareRevision(7), frameOf({0, 7, 0x20, 3, 1})},
      {request::softwareRevision(7), frameOf({0, 7, 0x21, 2, 10, 3})},
      {request::moduleType(7), frameOf({0, 7, 0x22, 21})},
  };
  for (const auto& [request, reply] : cases) {
    frames.clear();
    exchange(request);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_THAT(frames[0].frame, ElementsAreArray(reply));
  }
  Frame bad = request::readerVoltage(7);
  bad[10] ^= 0x01;
  bytes.clear();
  exchange(bad);
  EXPECT_TRUE(bytes.empty());
  EXPECT_EQ(crcErrors, 0);
}

// Frames written back to back cross the line one after the other, and each
// reply arrives at the line's pace.
TEST_F(BusModules, ReplyBytesArriveAtTheLinePace) {
  bus.addModules(2, 1);
  clock.advance(1000);
  const qint64 t0 = clock.nowMs();
  line.write(request::readerVoltage(1));
  line.write(request::readerVoltage(2));
  clock.advance(200);
  ASSERT_EQ(byteTimes.size(), 22u);
  // Request on the line 11.46 ms, turnaround 3 ms, then one byte per 1.04 ms.
  EXPECT_GE(byteTimes.front() - t0, 15);
  EXPECT_LE(byteTimes.front() - t0, 16);
  EXPECT_EQ(byteTimes[10] - t0, 26);
  for (std::size_t k = 1; k < 11; ++k) EXPECT_LE(byteTimes[k] - byteTimes[k - 1], 2);
  EXPECT_GE(byteTimes[21] - t0, 37);
  EXPECT_LE(byteTimes[21] - t0, 38);
}

TEST_F(BusModules, SilentRangeIsAGapInTheString) {
  bus.addModules(10, 1);
  bus.setSilentRange(4, 6);
  for (std::uint16_t a = 1; a <= 10; ++a) exchange(request::readerVoltage(a));
  std::vector<int> answered;
  for (const auto& f : frames) answered.push_back(frameAddress(f.frame));
  EXPECT_EQ(answered, (std::vector<int>{1, 2, 3, 7, 8, 9, 10}));
  bus.clearSilentRange();
  exchange(request::readerVoltage(5));
  EXPECT_EQ(frames.size(), 8u);
}

}  // namespace
}  // namespace zelta::test
