#include "tty_session.h"

#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "soak_support.h"

namespace zelta::testing {

TtySession::TtySession()
    : link_(QDir::temp().filePath(QStringLiteral("zelta_reliability_%1").arg(::getpid()))) {
  QObject::connect(&line, &SerialLine::byteReceived, [this](quint8) { ++bytes_; });
}

TtySession::~TtySession() {
  killSimulator();
  QFile::remove(link_);
}

QString TtySession::startSimulator(const QStringList& args) {
  simulator_.start(QStringLiteral(ZELTA_BUS_SIM_BINARY), args + QStringList{"--link", link_});
  if (!simulator_.waitForStarted(5000)) return "zelta_bus_sim did not start: " + simulator_.errorString();
  QElapsedTimer waited;
  waited.start();
  while (!simulator_.canReadLine()) {
    simulator_.waitForReadyRead(1000);
    if (waited.elapsed() > 10000 || simulator_.state() == QProcess::NotRunning)
      return "no device path from zelta_bus_sim: " + simulator_.readAllStandardError();
  }
  simulator_.readLine();  // the device path; the link names it
  return {};
}

void TtySession::killSimulator() {
  if (simulator_.state() == QProcess::NotRunning) return;
  simulator_.kill();
  simulator_.waitForFinished(5000);
}

void TtySession::command(const QString& line) {
  simulator_.write((line + "\n").toLocal8Bit());
  simulator_.waitForBytesWritten(1000);
}

// A real event loop, so that waiting costs no CPU of its own.
bool runUntil(const std::function<bool()>& done, int maxMs) {
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (done()) loop.quit();
  });
  poll.start(20);
  QTimer::singleShot(maxMs, &loop, &QEventLoop::quit);
  if (!done()) loop.exec();
  return done();
}

double cpuShareWhileRunning(int ms) {
  const double cpu = cpuSeconds();
  QElapsedTimer wall;
  wall.start();
  runUntil([] { return false; }, ms);
  return (cpuSeconds() - cpu) / (static_cast<double>(wall.elapsed()) / 1000.0);
}

}  // namespace zelta::testing
