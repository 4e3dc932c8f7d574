// The production clock: wall time, with each timer's due tick delivered by a
// single-shot QTimer on the Qt event loop.
#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QTimer>

#include "platform/clock.h"

namespace zelta {

class RealClock final : public Clock {
 public:
  RealClock();
  ~RealClock() override;
  qint64 nowMs() const override { return elapsed_.elapsed(); }
  QDateTime localDateTime() const override { return QDateTime::currentDateTime(); }
  void callAfter(qint64 delayMs, std::function<void()> fn) override;

 protected:
  void arm(Timer& t, qint64 dueMs) override;
  void disarm(Timer& t) override;
  void drop(Timer& t) override;

 private:
  QElapsedTimer elapsed_;
  QHash<Timer*, QTimer*> qtimers_;
};

}  // namespace zelta
