// The tool on a real pseudo-terminal, in real time: the only sim test that
// waits on the wall clock, with generous limits.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <chrono>
#include <gtest/gtest.h>

#include "protocol/frame.h"
#include "protocol/requests.h"

namespace zelta::test {
namespace {

using Steady = std::chrono::steady_clock;

class BusSimTool : public ::testing::Test {
 protected:
  void start(const QStringList& args) {
    tool.start(QStringLiteral(ZELTA_BUS_SIM_BINARY), args);
    ASSERT_TRUE(tool.waitForStarted(5000));
    while (!tool.canReadLine()) ASSERT_TRUE(tool.waitForReadyRead(5000)) << "no device path printed";
    device = QString::fromLocal8Bit(tool.readLine()).trimmed();
  }
  void TearDown() override {
    if (fd >= 0) ::close(fd);
    if (tool.state() != QProcess::NotRunning) {
      tool.write("quit\n");
      if (!tool.waitForFinished(5000)) tool.kill();
    }
  }
  void openRaw(const QString& path) {
    fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    termios tio{};
    ASSERT_EQ(::tcgetattr(fd, &tio), 0);
    ::cfmakeraw(&tio);
    ASSERT_EQ(::tcsetattr(fd, TCSANOW, &tio), 0);
  }
  // Reads up to count bytes, giving up after timeoutMs.
  std::vector<std::uint8_t> readBytes(std::size_t count, int timeoutMs) {
    std::vector<std::uint8_t> got;
    const auto deadline = Steady::now() + std::chrono::milliseconds(timeoutMs);
    while (got.size() < count && Steady::now() < deadline) {
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0) continue;
      std::uint8_t buffer[64];
      const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, count - got.size()));
      if (n > 0) got.insert(got.end(), buffer, buffer + n);
    }
    return got;
  }

  QProcess tool;
  QString device;
  int fd = -1;
};

TEST_F(BusSimTool, AnswersAVoltageRequestOnItsTerminalWithLineTiming) {
  start({"--modules", "3"});
  ASSERT_TRUE(device.startsWith("/dev/")) << device.toStdString();
  openRaw(device);
  const Frame request = request::readerVoltage(1);
  const auto sent = Steady::now();
  ASSERT_EQ(::write(fd, request.data(), request.size()), 11);
  const auto reply = readBytes(11, 3000);
  const auto done = Steady::now();
  ASSERT_EQ(reply.size(), 11u);
  Frame f{};
  std::copy(reply.begin(), reply.end(), f.begin());
  EXPECT_TRUE(hasValidCheckByte(f));
  EXPECT_EQ(frameAddress(f), 1);
  EXPECT_EQ(frameCommand(f), 0x12);
  const double ms = std::chrono::duration<double, std::milli>(done - sent).count();
  EXPECT_GE(ms, 22.9) << "two frames take that long on the line";
  EXPECT_LT(ms, 1000);
}

}  // namespace
}  // namespace zelta::test
