#include "clock.h"

namespace zelta {

void Clock::hold() { ++holds_; }

void Clock::release() {
  if (holds_ == 0 || --holds_ > 0) return;
  // Held ticks fall due now and run after the handler that opened the box.
  std::vector<Timer*> held;
  held.swap(heldTimers_);
  for (Timer* t : held) {
    if (t->enabled_ && t->tickHeld_) {
      t->due_ = nowMs();
      arm(*t, t->due_);
    }
  }
}

void Clock::forget(Timer& t) {
  std::erase(heldTimers_, &t);
  drop(t);
}

void Clock::fire(Timer& t) {
  if (!t.enabled_) return;
  if (isHeld()) {
    if (!t.tickHeld_) heldTimers_.push_back(&t);
    t.tickHeld_ = true;
    return;
  }
  t.tickHeld_ = false;
  t.restartCount();  // the next tick is one interval after this one
  emit t.tick();
}

Timer::Timer(Clock& clock, const QString& name, int intervalMs, QObject* parent)
    : QObject(parent), clock_(clock), interval_(intervalMs) {
  setObjectName(name);
}

Timer::~Timer() { clock_.forget(*this); }

void Timer::setInterval(int ms) {
  interval_ = ms;
  if (enabled_) restartCount();
}

void Timer::setEnabled(bool on) {
  enabled_ = on;
  if (tickHeld_) std::erase(clock_.heldTimers_, this);
  tickHeld_ = false;
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
