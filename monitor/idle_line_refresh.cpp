#include "monitor/idle_line_refresh.h"

#include "platform/clock.h"

namespace zelta {

IdleLineRefresh::IdleLineRefresh(BusEvents& events, Clock& clock, const QString& timerName,
                                 int intervalMs, std::function<void()> redraw, QObject* parent)
    : QObject(parent),
      events_(events),
      redraw_(std::move(redraw)),
      timer_(new Timer(clock, timerName, intervalMs, this)) {
  connect(timer_, &Timer::tick, this, &IdleLineRefresh::tick);
  events_.subscribe(this);
}

IdleLineRefresh::~IdleLineRefresh() { events_.unsubscribe(this); }

void IdleLineRefresh::start() { timer_->start(); }

void IdleLineRefresh::soon() {
  if (timer_->isEnabled()) due_ = true;
}

void IdleLineRefresh::stop() {
  timer_->stop();
  due_ = false;
}

void IdleLineRefresh::busEvent(const BusEvent& event) {
  if (event.kind == BusEvent::Kind::Sent && due_) run();
}

void IdleLineRefresh::tick() {
  if (due_)
    run();  // no request went out since the last tick
  else
    due_ = true;
}

void IdleLineRefresh::run() {
  due_ = false;
  redraw_();
}

}  // namespace zelta
