// QtSerialLine against a real pseudo-terminal pair: the test holds the master
// side, the line opens the slave device. Real time, with generous margins.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <ctime>
#include <functional>
#include <vector>

#include "platform/qt_serial_line.h"
#include "platform/real_clock.h"
#include "protocol/requests.h"
#include "tests/platform/pty.h"

namespace zelta {
namespace {

// Runs the event loop until done() holds or timeoutMs pass.
bool runUntil(const std::function<bool()>& done, int timeoutMs) {
  if (done()) return true;
  QEventLoop loop;
  QTimer check;
  QObject::connect(&check, &QTimer::timeout, &loop, [&] {
    if (done()) loop.quit();
  });
  check.start(5);
  QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
  loop.exec();
  return done();
}

void runFor(int ms) { runUntil([] { return false; }, ms); }

double cpuSeconds() {
  timespec t{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

struct Received {
  std::vector<std::uint8_t> bytes;
  std::vector<QString> failures;
  explicit Received(QtSerialLine& line) {
    QObject::connect(&line, &SerialLine::byteReceived, &line, [this](quint8 b) { bytes.push_back(b); });
    QObject::connect(&line, &SerialLine::lineFailed, &line, [this](const QString& why) { failures.push_back(why); });
  }
};

TEST(QtSerialLine, BytesBothWaysUnchangedAndInOrderUntilClosed) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  QtSerialLine line;
  Received in(line);
  ASSERT_TRUE(line.openDevice(pty.path())) << line.errorString().toStdString();

  std::vector<std::uint8_t> sent;
  for (int i = 0; i < 512; ++i) sent.push_back(static_cast<std::uint8_t>(i < 256 ? i : 511 - i));
  ASSERT_TRUE(pty.send(sent));
  ASSERT_TRUE(runUntil([&] { return in.bytes.size() >= sent.size(); }, 5000));
  EXPECT_EQ(in.bytes, sent);

  // Frames full of bytes a terminal would like to interpret.
  const Frame frames[] = {
      buildFrame({0x0D, 0x0A, 0x11, 0x13, 0x03, 0x7F, 0x00, 0x23, 0xFF}),
      request::addressQuery(),
  };
  for (const Frame& f : frames) {
    ASSERT_TRUE(line.write(f));
    ASSERT_TRUE(pty.waitReadable(2000));
    // Written in one write: a single read on the far end brings all 11 bytes.
    const auto got = pty.readOnce();
    EXPECT_EQ(got, std::vector<std::uint8_t>(f.begin(), f.end()));
  }
  EXPECT_TRUE(in.failures.empty());
  line.close();
  EXPECT_FALSE(line.write(request::readerVoltage(1)));
  EXPECT_FALSE(pty.waitReadable(100));
}

// The adapter pulled out: reported once, writes fail, no busy loop, and the
// line opens again afterwards.
TEST(QtSerialLine, FarEndDisappearingIsReportedOnceWithoutSpinning) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  QtSerialLine line;
  Received in(line);
  ASSERT_TRUE(line.openDevice(pty.path()));
  ASSERT_TRUE(pty.send({0x23}));
  ASSERT_TRUE(runUntil([&] { return in.bytes.size() == 1; }, 5000));

  pty.closeMaster();
  ASSERT_TRUE(runUntil([&] { return !in.failures.empty(); }, 5000)) << "no failure reported";
  EXPECT_FALSE(line.isOpen());
  EXPECT_EQ(line.lastError().kind, LineError::Kind::Lost);
  EXPECT_EQ(line.lastError().device, pty.path());

  const double before = cpuSeconds();
  runFor(1000);
  const double used = cpuSeconds() - before;
  EXPECT_LT(used, 0.2) << "the event loop kept a core busy after the failure";
  EXPECT_EQ(in.failures.size(), 1u);
  EXPECT_FALSE(line.write(request::readerVoltage(1)));

  line.close();
  Pty again;
  ASSERT_TRUE(again.ok());
  ASSERT_TRUE(line.openDevice(again.path())) << line.errorString().toStdString();
  ASSERT_TRUE(again.send({0x00, 0xFF}));
  ASSERT_TRUE(runUntil([&] { return in.bytes.size() == 3; }, 5000));
  EXPECT_EQ(in.bytes, (std::vector<std::uint8_t>{0x23, 0x00, 0xFF}));
  EXPECT_EQ(in.failures.size(), 1u);
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
