#include <gmock/gmock.h>

#include "protocol/commands.h"
#include "tests/sim/bus_fixture.h"

namespace zelta::test {
namespace {

using ::testing::ElementsAreArray;
using BusModules = BusFixture;

ModuleState sampleModule(std::uint16_t address) {
  ModuleState s;
  s.address = address;
  s.millivolts = 0x3322;
  s.temperatureByte = 0x7B;
  s.impedance = 0x0155;
  s.hwMajor = 3;
  s.hwMinor = 1;
  s.swMajor = 2;
  s.swMinor = 10;
  s.swPatch = 3;
  s.typeCode = 21;
  s.status = 0x31;
  s.error = 0x04;
  return s;
}

struct ValueCase {
  const char* name;
  Frame request;
  Frame reply;
};

class ValueReplies : public BusFixture, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(ValueReplies, ModuleAnswersFromItsAddressWithItsValues) {
  bus.addModule(sampleModule(7));
  exchange(GetParam().request);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_THAT(frames[0].frame, ElementsAreArray(GetParam().reply));
  EXPECT_EQ(crcErrors, 0);
}

INSTANTIATE_TEST_SUITE_P(
    EachValueCommand, ValueReplies,
    ::testing::Values(
        ValueCase{"Temperature", request::readerTemperature(7), frameOf({0, 7, 0x11, 0x7B})},
        ValueCase{"ProgrammerTemperature", request::programmerTemperature(7), frameOf({0, 7, 0x11, 0x7B})},
        ValueCase{"Voltage", request::readerVoltage(7), frameOf({0, 7, 0x12, 0x33, 0x22})},
        ValueCase{"Impedance", request::readerImpedance(7), frameOf({0, 7, 0x13, 0x01, 0x55})},
        ValueCase{"ProgrammerImpedance", request::programmerImpedance(7), frameOf({0, 7, 0x13, 0x01, 0x55})},
        ValueCase{"Collective", request::collective(7), frameOf({0, 7, 0x14, 0x7B, 0x33, 0x22, 0, 0x31, 0x04})},
        ValueCase{"Hardware", request::hardwareRevision(7), frameOf({0, 7, 0x20, 3, 1})},
        ValueCase{"Software", request::softwareRevision(7), frameOf({0, 7, 0x21, 2, 10, 3})},
        ValueCase{"Type", request::moduleType(7), frameOf({0, 7, 0x22, 21})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BusModules, FrameWithWrongCheckByteGetsNoAnswer) {
  bus.addModule(sampleModule(1));
  Frame bad = request::readerVoltage(1);
  bad[10] ^= 0x01;
  exchange(bad);
  EXPECT_TRUE(bytes.empty());
  EXPECT_EQ(bus.hostFrames().size(), 1u);
}

TEST_F(BusModules, WakeUpRequestTo500IsAnsweredByNoneUnlessAModuleHasIt) {
  bus.addModules(24, 1);
  exchange(request::collective(cmd::WakeUpAddress));
  EXPECT_TRUE(bytes.empty());
  bus.addModule(sampleModule(500));
  exchange(request::collective(cmd::WakeUpAddress));
  EXPECT_EQ(frames.size(), 1u);
}

TEST_F(BusModules, ReplyBytesArriveAtTheLinePace) {
  bus.addModule(sampleModule(1));
  clock.advance(1000);
  const qint64 t0 = clock.nowMs();
  exchange(request::readerVoltage(1));
  ASSERT_EQ(byteTimes.size(), 11u);
  // Request on the line 11.46 ms, turnaround 3 ms, then one byte per 1.04 ms.
  EXPECT_GE(byteTimes.front() - t0, 15);
  EXPECT_LE(byteTimes.front() - t0, 16);
  EXPECT_EQ(byteTimes.back() - t0, 26);
  for (std::size_t k = 1; k < byteTimes.size(); ++k) {
    EXPECT_GE(byteTimes[k] - byteTimes[k - 1], 1);
    EXPECT_LE(byteTimes[k] - byteTimes[k - 1], 2);
  }
}

TEST_F(BusModules, HostFramesAreRecordedWithTheirTimes) {
  clock.advance(40);
  line.write(request::readerVoltage(1));
  clock.advance(5);
  line.write(request::readerTemperature(2));
  ASSERT_EQ(bus.hostFrames().size(), 2u);
  EXPECT_EQ(bus.hostFrames()[0].atMs, 40);
  EXPECT_EQ(bus.hostFrames()[1].atMs, 45);
  EXPECT_EQ(bus.hostFrames()[1].frame, request::readerTemperature(2));
  bus.clearHostFrames();
  EXPECT_TRUE(bus.hostFrames().empty());
}

}  // namespace
}  // namespace zelta::test
