#include "tests/sim/bus_fixture.h"

namespace zelta::test {
namespace {

using SimulatedLineTest = BusFixture;

// Only available ports open; bytes arriving while the line is closed are
// lost; a failure is reported once and writes fail until the line is opened
// again.
TEST_F(SimulatedLineTest, OpensAvailablePortsOnlyAndAClosedOrFailedLineLosesBytes) {
  QStringList failures;
  QObject::connect(&line, &SerialLine::lineFailed, [&](const QString& why) { failures << why; });
  bus.addModules(2, 1);
  line.close();
  EXPECT_FALSE(line.write(request::readerVoltage(1))) << "not open yet";
  EXPECT_FALSE(line.openPort(0));
  line.setAvailablePorts({1, 5});
  EXPECT_FALSE(line.openPort(2));
  EXPECT_FALSE(line.errorString().isEmpty());
  ASSERT_TRUE(line.openPort(1));
  EXPECT_FALSE(line.openPort(5)) << "already open";
  ASSERT_TRUE(line.write(request::readerVoltage(1)));
  clock.advance(20);  // the reply has started
  line.close();
  clock.advance(100);
  const std::size_t beforeReopen = bytes.size();
  EXPECT_GT(beforeReopen, 0u);
  EXPECT_LT(beforeReopen, 11u);
  line.openPort(1);
  clock.advance(100);
  EXPECT_EQ(bytes.size(), beforeReopen);

  line.failNow("adapter removed");
  line.failNow("adapter removed again");
  EXPECT_EQ(failures, QStringList{"COM1 stopped working (adapter removed)."});
  EXPECT_FALSE(line.write(request::readerVoltage(1)));
  clock.advance(100);
  EXPECT_EQ(bus.hostFrames().size(), 1u);
  line.close();
  ASSERT_TRUE(line.openPort(1));
  EXPECT_TRUE(line.write(request::readerVoltage(1)));
  clock.advance(100);
  EXPECT_EQ(bytes.size(), beforeReopen + 11);
}

TEST(SimulatedLineLifetime, LineReplacedWhileAReplyIsUnderwayHandsOverTheBus) {
  VirtualClock clock;
  BusSimulator bus(clock, 1);
  bus.addModules(1, 1);
  auto first = std::make_unique<SimulatedLine>(bus);
  first->openPort(1);
  first->write(request::readerVoltage(1));
  SimulatedLine second(bus);
  first.reset();
  int received = 0;
  QObject::connect(&second, &SerialLine::byteReceived, [&](quint8) { ++received; });
  second.openPort(1);
  clock.advance(100);
  EXPECT_EQ(received, 11) << "the newest line gets the reply bytes";
}

}  // namespace
}  // namespace zelta::test
