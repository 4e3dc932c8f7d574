// Waiting in real time, for the tests on real devices, processes and window
// systems: the event loop runs meanwhile, and waiting costs no CPU of its own.
#pragma once

#include <QEventLoop>
#include <QTimer>
#include <ctime>
#include <functional>

namespace zelta::testing {

// Runs the event loop until done() holds or maxMs have passed; whether it holds.
inline bool runUntil(const std::function<bool()>& done, int maxMs, int pollMs = 10) {
  if (done()) return true;
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (done()) loop.quit();
  });
  poll.start(pollMs);
  QTimer::singleShot(maxMs, &loop, &QEventLoop::quit);
  loop.exec();
  return done();
}

inline void runFor(int ms) { runUntil([] { return false; }, ms, ms); }

// CPU time this process has used, in seconds.
inline double cpuSeconds() {
  timespec t{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

}  // namespace zelta::testing
