// QtSerialLine against a real pseudo-terminal pair: the test holds the master
// side, the line opens the slave device. Real time, with generous margins.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <vector>

#include "platform/qt_serial_line.h"
#include "platform/real_clock.h"
#include "protocol/requests.h"
#include "tests/platform/pty.h"
#include "tests/support/real_time.h"

namespace zelta {
namespace {

using testing::runFor;
using testing::runUntil;

TEST(QtSerialLine, BytesBothWaysUnchangedAndInOrderUntilClosed) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  std::vector<std::uint8_t> received;
  int failures = 0;
  QtSerialLine line;
  QObject::connect(&line, &SerialLine::byteReceived, [&](quint8 b) { received.push_back(b); });
  QObject::connect(&line, &SerialLine::lineFailed, [&] { ++failures; });
  ASSERT_TRUE(line.openDevice(pty.path())) << line.errorString().toStdString();

  std::vector<std::uint8_t> sent;
  for (int i = 0; i < 512; ++i) sent.push_back(static_cast<std::uint8_t>(i < 256 ? i : 511 - i));
  ASSERT_TRUE(pty.send(sent));
  ASSERT_TRUE(runUntil([&] { return received.size() >= sent.size(); }, 5000));
  EXPECT_EQ(received, sent);

  // Below the delivery threshold the driver holds bytes back until asked.
  received.clear();
  line.setDeliveryThreshold(4);
  ASSERT_TRUE(pty.send({1, 2, 3}));
  runFor(300);
  EXPECT_TRUE(received.empty());
  line.deliverHeldBytes();
  EXPECT_EQ(received.size(), 3u);
  ASSERT_TRUE(pty.send({4, 5, 6, 7, 8}));
  ASSERT_TRUE(runUntil([&] { return received.size() >= 8; }, 5000));
  EXPECT_EQ(received, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));

  // Nor does the line look before all but the last of the awaited bytes can
  // have come at 9600 baud: 62 bytes take 64.6 ms.
  received.clear();
  QElapsedTimer awaited;
  awaited.start();
  line.setDeliveryThreshold(64);
  const std::vector<std::uint8_t> awaitedBytes(sent.begin(), sent.begin() + 64);
  ASSERT_TRUE(pty.send(awaitedBytes));
  ASSERT_TRUE(runUntil([&] { return received.size() >= awaitedBytes.size(); }, 5000));
  EXPECT_GE(awaited.elapsed(), 60);
  EXPECT_EQ(received, awaitedBytes);
  line.setDeliveryThreshold(1);

  // Frames full of bytes a terminal would like to interpret.
  const Frame frames[] = {
      buildFrame({0x0D, 0x0A, 0x11, 0x13, 0x03, 0x7F, 0x00, 0x23, 0xFF}),
      request::addressQuery(),
  };
  for (const Frame& f : frames) {
    ASSERT_TRUE(line.write(f));
    ASSERT_TRUE(pty.waitReadable(2000));
    // Written in one write: a single read on the far end brings all 11 bytes.
    EXPECT_EQ(pty.readOnce(), std::vector<std::uint8_t>(f.begin(), f.end()));
  }
  EXPECT_EQ(failures, 0);
  line.close();
  EXPECT_FALSE(line.write(request::readerVoltage(1)));
  EXPECT_FALSE(pty.waitReadable(100));
}

// A receive handler that opens a nested event loop (a message box) must not
// see later bytes before the rest of the earlier ones.
TEST(QtSerialLine, OrderKeptWhenAHandlerRunsANestedEventLoop) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  QtSerialLine line;
  std::vector<std::uint8_t> got;
  bool nested = false;
  QObject::connect(&line, &SerialLine::byteReceived, &line, [&](quint8 b) {
    got.push_back(b);
    if (b == 1 && !nested) {
      nested = true;
      pty.send({10, 11, 12});
      runFor(300);
    }
  });
  ASSERT_TRUE(line.openDevice(pty.path()));
  pty.send({1, 2, 3, 4});
  ASSERT_TRUE(runUntil([&] { return got.size() >= 7; }, 5000));
  EXPECT_EQ(got, (std::vector<std::uint8_t>{1, 2, 3, 4, 10, 11, 12}));
}

// A tick that holds its own timer (as a box it opens does) keeps it from
// ticking under the hold; the next tick comes one interval after the hold.
TEST(RealClock, TimersTickOnTheEventLoopAndATickHoldsItsOwnTimer) {
  RealClock clock;
  Timer t(clock, "Timer1", 20);
  int ticks = 0;
  qint64 released = 0, nextTick = 0;
  QObject::connect(&t, &Timer::tick, [&] {
    if (++ticks == 3) {
      const Clock::TickHold hold(clock);
      runFor(200);
      EXPECT_EQ(ticks, 3);
    }
    if (ticks == 3) released = clock.nowMs();
    if (ticks == 4) nextTick = clock.nowMs();
  });
  t.start();
  ASSERT_TRUE(runUntil([&] { return ticks >= 4; }, 5000));
  t.stop();
  EXPECT_GE(nextTick - released, 20);
}

}  // namespace
}  // namespace zelta
