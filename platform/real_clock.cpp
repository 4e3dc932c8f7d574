#include "real_clock.h"

namespace zelta {

RealClock::RealClock() { elapsed_.start(); }

RealClock::~RealClock() { qDeleteAll(qtimers_); }

void RealClock::callAfter(qint64 delayMs, std::function<void()> fn) {
  QTimer::singleShot(static_cast<int>(qMax<qint64>(0, delayMs)), std::move(fn));
}

void RealClock::arm(Timer& t, qint64 dueMs) {
  QTimer*& q = qtimers_[&t];
  if (!q) {
    q = new QTimer;
    q->setSingleShot(true);
    q->setTimerType(Qt::PreciseTimer);
    Timer* timer = &t;
    QObject::connect(q, &QTimer::timeout, [this, timer] { fire(*timer); });
  }
  q->start(static_cast<int>(qMax<qint64>(0, dueMs - nowMs())));
}

void RealClock::disarm(Timer& t) {
  if (QTimer* q = qtimers_.value(&t)) q->stop();
}

void RealClock::drop(Timer& t) {
  // deleteLater: the timer may be destroyed from inside its own tick.
  if (QTimer* q = qtimers_.take(&t)) {
    q->stop();
    q->deleteLater();
  }
}

}  // namespace zelta
