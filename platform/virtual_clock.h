// A clock for tests: time stands still until the test advances it, and due
// events (timer ticks and callAfter functions) run in time order, ties in the
// order they were armed. Deterministic: the same calls give the same run. Its
// date and time start at a fixed moment (17 May 2024, 14:03:09 local time)
// and run on with the clock.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <unordered_map>

#include "platform/clock.h"

namespace zelta {

class VirtualClock final : public Clock {
 public:
  qint64 nowMs() const override { return now_; }
  QDateTime localDateTime() const override { return start_.addMSecs(now_); }
  void callAfter(qint64 delayMs, std::function<void()> fn) override;

  // Runs every event due up to now + ms, then leaves the clock at now + ms.
  void advance(qint64 ms);
  void advanceTo(qint64 timeMs);
  // Advances event by event until done() holds or maxMs have passed.
  // Returns whether done() held.
  bool advanceUntil(const std::function<bool()>& done, qint64 maxMs);

  // Number of events waiting (armed timers and pending functions).
  std::size_t pendingEvents() const { return queue_.size(); }

 protected:
  void arm(Timer& t, qint64 dueMs) override;
  void disarm(Timer& t) override;

 private:
  struct Key {
    qint64 due;
    std::uint64_t seq;
    bool operator<(const Key& o) const { return due != o.due ? due < o.due : seq < o.seq; }
  };
  struct Event {
    Timer* timer = nullptr;  // a tick, or
    std::function<void()> fn;  // a function
  };
  bool runNext(qint64 limit);

  qint64 now_ = 0;
  QDateTime start_{QDate(2024, 5, 17), QTime(14, 3, 9)};
  std::uint64_t seq_ = 0;
  std::map<Key, Event> queue_;
  std::unordered_map<Timer*, Key> armed_;
};

}  // namespace zelta
