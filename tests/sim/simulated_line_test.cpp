#include <gmock/gmock.h>

#include "tests/sim/bus_fixture.h"

namespace zelta::test {
namespace {

class SimulatedLineTest : public ::testing::Test {
 protected:
  SimulatedLineTest() : bus(clock, 1), line(bus) {
    bus.addModules(2, 1);
    QObject::connect(&line, &SerialLine::byteReceived, [this](quint8) { ++received; });
    QObject::connect(&line, &SerialLine::lineFailed, [this](const QString& why) { failures.push_back(why); });
  }
  VirtualClock clock;
  BusSimulator bus;
  SimulatedLine line;
  int received = 0;
  QStringList failures;
};

TEST_F(SimulatedLineTest, OpensAvailablePortsOnly) {
  EXPECT_TRUE(line.openPort(256));
  EXPECT_EQ(line.openedPort(), 256);
  EXPECT_FALSE(line.openPort(3)) << "already open";
  line.close();
  EXPECT_FALSE(line.openPort(0));
  EXPECT_FALSE(line.errorString().isEmpty());
  line.setAvailablePorts({2, 5});
  EXPECT_FALSE(line.openPort(1));
  EXPECT_FALSE(line.isOpen());
  EXPECT_TRUE(line.openPort(5));
  line.close();
  EXPECT_TRUE(line.openDevice("/dev/ttyUSB0"));
  EXPECT_EQ(line.openedDevice(), "/dev/ttyUSB0");
}

TEST_F(SimulatedLineTest, WriteOnAClosedLineFailsAndReachesNoModule) {
  EXPECT_FALSE(line.write(request::readerVoltage(1)));
  clock.advance(100);
  EXPECT_TRUE(bus.hostFrames().empty());
  EXPECT_EQ(received, 0);
}

TEST_F(SimulatedLineTest, BytesArrivingWhileClosedAreLost) {
  line.openPort(1);
  ASSERT_TRUE(line.write(request::readerVoltage(1)));
  clock.advance(20);  // the reply has started
  line.close();
  clock.advance(100);
  const int beforeReopen = received;
  EXPECT_GT(beforeReopen, 0);
  EXPECT_LT(beforeReopen, 11);
  line.openPort(1);
  clock.advance(100);
  EXPECT_EQ(received, beforeReopen);
}

TEST_F(SimulatedLineTest, FailureIsReportedOnceAndWritesFailUntilReopened) {
  line.openPort(1);
  line.failNow("adapter removed");
  line.failNow("adapter removed again");
  EXPECT_EQ(failures, QStringList{"adapter removed"});
  EXPECT_FALSE(line.write(request::readerVoltage(1)));
  EXPECT_EQ(line.errorString(), "adapter removed");
  clock.advance(100);
  EXPECT_TRUE(bus.hostFrames().empty());
  line.close();
  ASSERT_TRUE(line.openPort(1));
  EXPECT_TRUE(line.write(request::readerVoltage(1)));
  clock.advance(100);
  EXPECT_EQ(received, 11);
}

TEST_F(SimulatedLineTest, FramesWrittenBackToBackAreSerialisedOnTheLine) {
  line.openPort(1);
  std::vector<qint64> times;
  QObject::connect(&line, &SerialLine::byteReceived, [&](quint8) { times.push_back(clock.nowMs()); });
  line.write(request::readerVoltage(1));
  line.write(request::readerVoltage(2));
  clock.advance(200);
  ASSERT_EQ(times.size(), 22u);
  // The second request crosses the line after the first: its reply starts
  // about 11.5 ms after the first reply.
  EXPECT_EQ(times[10], 26);
  EXPECT_GE(times[21], 37);
  EXPECT_LE(times[21], 38);
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
