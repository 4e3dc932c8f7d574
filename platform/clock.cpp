#include "clock.h"

namespace zelta {

Clock::TickHold::TickHold(Clock& clock) : clock_(clock), held_(clock.ticking_) {
  if (held_) ++held_->holds_;
  clock_.ticking_ = nullptr;
}

Clock::TickHold::~TickHold() {
  clock_.ticking_ = held_;
  if (held_ && --held_->holds_ == 0 && held_->enabled_) held_->restartCount();
}

void Clock::fire(Timer& t) {
  if (!t.enabled_ || t.holds_ > 0) return;  // a held timer's count restarts when its hold ends
  t.restartCount();  // the next tick is one interval after this one
  const QPointer<Timer> outer = ticking_;
  ticking_ = &t;
  emit t.tick();
  ticking_ = outer;
}

Timer::Timer(Clock& clock, const QString& name, int intervalMs, QObject* parent)
    : QObject(parent), clock_(clock), interval_(intervalMs) {
  setObjectName(name);
}

Timer::~Timer() { clock_.drop(*this); }

void Timer::setInterval(int ms) {
  interval_ = ms;
  if (enabled_) restartCount();
}

void Timer::setEnabled(bool on) {
  enabled_ = on;
  if (on)
    restartCount();
  else
    clock_.disarm(*this);
}

void Timer::restartCount() {
  due_ = clock_.nowMs() + (interval_ > 0 ? interval_ : 1);
  clock_.arm(*this, due_);
}

}  // namespace zelta
