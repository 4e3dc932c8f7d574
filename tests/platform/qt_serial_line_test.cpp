// QtSerialLine against a real pseudo-terminal pair: the test holds the master
// side, the line opens the slave device. Real time, with generous margins.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <unistd.h>

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

namespace zelta {
namespace {

class Pty {
 public:
  Pty() {
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master_, &slave, name, nullptr, nullptr) != 0) return;
    ::close(slave);  // the line under test opens it by name
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    path_ = QString::fromLocal8Bit(name);
  }
  ~Pty() { closeMaster(); }
  bool ok() const { return master_ >= 0; }
  const QString& path() const { return path_; }

  void send(const std::vector<std::uint8_t>& bytes) {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // One read of whatever is there now.
  std::vector<std::uint8_t> readOnce() {
    std::vector<std::uint8_t> buffer(4096);
    const ssize_t n = ::read(master_, buffer.data(), buffer.size());
    buffer.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return buffer;
  }
  bool waitReadable(int ms) {
    pollfd p{master_, POLLIN, 0};
    return ::poll(&p, 1, ms) == 1 && (p.revents & POLLIN);
  }
  void closeMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

 private:
  int master_ = -1;
  QString path_;
};

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
  pty.send(sent);
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

// Port numbers name a device from the environment (as the run scripts set it)
// or the usual serial device.
TEST(QtSerialLine, PortDevices) {
  qputenv("ZELTA_COM7", "/tmp/zelta-COM7");
  qunsetenv("ZELTA_COM3");
  EXPECT_EQ(QtSerialLine::deviceForPort(7), "/tmp/zelta-COM7");
  EXPECT_EQ(QtSerialLine::deviceForPort(3), "/dev/ttyS2");
  qunsetenv("ZELTA_COM7");
}

// A failed open says why, with the device tried: missing, held by another
// opener, or not readable and writable for this user.
TEST(QtSerialLine, FailedOpensAreToldApart) {
  using Kind = LineError::Kind;
  QtSerialLine line;
  EXPECT_FALSE(line.openDevice("/nonexistent/zelta-tty"));
  EXPECT_EQ(line.lastError().kind, Kind::NoSuchDevice);
  EXPECT_EQ(line.lastError().device, "/nonexistent/zelta-tty");
  EXPECT_FALSE(line.write(request::readerVoltage(1)));

  Pty pty;
  ASSERT_TRUE(pty.ok());
  QtSerialLine holder;
  ASSERT_TRUE(holder.openDevice(pty.path()));
  EXPECT_FALSE(line.openDevice(pty.path()));
  EXPECT_EQ(line.lastError().kind, Kind::Busy) << line.errorString().toStdString();
  holder.close();

  if (::geteuid() == 0)
    GTEST_SKIP() << "running as root, whom a device of mode 000 does not keep out";
  ASSERT_EQ(::chmod(pty.path().toLocal8Bit().constData(), 0), 0);
  EXPECT_FALSE(line.openDevice(pty.path()));
  EXPECT_EQ(line.lastError().kind, Kind::PermissionDenied) << line.errorString().toStdString();
  EXPECT_EQ(line.lastError().device, pty.path());
}

// The adapter pulled out: reported once, writes fail, no busy loop, and the
// line opens again afterwards.
TEST(QtSerialLine, FarEndDisappearingIsReportedOnceWithoutSpinning) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  QtSerialLine line;
  Received in(line);
  ASSERT_TRUE(line.openDevice(pty.path()));
  pty.send({0x23});
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
  again.send({0x00, 0xFF});
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

TEST(RealClock, TimersTickOnTheEventLoopAndAreHeld) {
  RealClock clock;
  Timer t(clock, "Timer1", 20);
  int ticks = 0;
  QObject::connect(&t, &Timer::tick, [&] { ++ticks; });
  t.start();
  ASSERT_TRUE(runUntil([&] { return ticks >= 3; }, 5000));
  clock.hold();
  const int atHold = ticks;
  runFor(200);
  EXPECT_EQ(ticks, atHold);
  clock.release();
  ASSERT_TRUE(runUntil([&] { return ticks > atHold; }, 5000));
  t.stop();
  EXPECT_EQ(ticks, atHold + 1);  // the held tick once, not one per missed interval
}

}  // namespace
}  // namespace zelta
