#include "virtual_clock.h"

namespace zelta {

void VirtualClock::callAfter(qint64 delayMs, std::function<void()> fn) {
  queue_.emplace(Key{now_ + (delayMs > 0 ? delayMs : 0), seq_++}, Event{nullptr, std::move(fn)});
}

void VirtualClock::arm(Timer& t, qint64 dueMs) {
  disarm(t);
  const Key key{dueMs, seq_++};
  queue_.emplace(key, Event{&t, {}});
  armed_[&t] = key;
}

void VirtualClock::disarm(Timer& t) {
  const auto it = armed_.find(&t);
  if (it == armed_.end()) return;
  queue_.erase(it->second);
  armed_.erase(it);
}

bool VirtualClock::runNext(qint64 limit) {
  if (queue_.empty() || queue_.begin()->first.due > limit) return false;
  auto node = queue_.extract(queue_.begin());
  now_ = node.key().due;
  Event& event = node.mapped();
  if (event.timer) {
    armed_.erase(event.timer);
    fire(*event.timer);
  } else {
    event.fn();
  }
  return true;
}

void VirtualClock::advance(qint64 ms) { advanceTo(now_ + ms); }

void VirtualClock::advanceTo(qint64 timeMs) {
  while (runNext(timeMs)) {
  }
  if (timeMs > now_) now_ = timeMs;
}

bool VirtualClock::advanceUntil(const std::function<bool()>& done, qint64 maxMs) {
  const qint64 limit = now_ + maxMs;
  while (!done()) {
    if (!runNext(limit)) {
      now_ = limit;
      return done();
    }
  }
  return true;
}

}  // namespace zelta
