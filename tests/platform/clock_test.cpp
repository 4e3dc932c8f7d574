#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/fakes/scripted_message_boxes.h"
#include "platform/virtual_clock.h"

namespace zelta {
namespace {

using Times = std::vector<qint64>;

// Records the clock time of each tick of a timer.
struct TickLog {
  Times times;
  TickLog(VirtualClock& clock, Timer& t) {
    QObject::connect(&t, &Timer::tick, [this, &clock] { times.push_back(clock.nowMs()); });
  }
};

TEST(VirtualClock, OneShotByDisablingInTheTick) {
  VirtualClock clock;
  Timer t(clock, "Timer4", 100);
  Times ticks;
  QObject::connect(&t, &Timer::tick, [&] {
    ticks.push_back(clock.nowMs());
    t.stop();
  });
  clock.advance(30);
  t.start();
  clock.advance(1000);
  EXPECT_EQ(ticks, (Times{130}));
  EXPECT_FALSE(t.isEnabled());
  EXPECT_EQ(clock.pendingEvents(), 0u);
  EXPECT_EQ(t.objectName(), "Timer4");
}

TEST(VirtualClock, RepeatingTimerTicksAtExactTimes) {
  VirtualClock clock;
  Timer t(clock, "Timer8", 280);
  TickLog log(clock, t);
  t.start();
  clock.advance(1000);
  EXPECT_EQ(log.times, (Times{280, 560, 840}));
  EXPECT_EQ(t.dueMs(), 1120);
  t.stop();
  clock.advance(1000);
  EXPECT_EQ(log.times.size(), 3u);
}

TEST(VirtualClock, SettingTheIntervalRestartsTheCount) {
  VirtualClock clock;
  Timer t(clock, "Timer3", 100);
  TickLog log(clock, t);
  t.start();
  clock.advance(50);
  t.setInterval(200);  // enabled: next tick 200 ms from now
  clock.advance(500);
  EXPECT_EQ(log.times, (Times{250, 450}));
  t.stop();
  t.setInterval(10);  // disabled: arms nothing
  clock.advance(100);
  EXPECT_EQ(log.times.size(), 2u);
  t.start();
  clock.advance(25);
  EXPECT_EQ(log.times, (Times{250, 450, 660, 670}));
}

TEST(VirtualClock, EnablingAgainRestartsTheCount) {
  VirtualClock clock;
  Timer t(clock, "Timer12", 100);
  TickLog log(clock, t);
  t.start();
  clock.advance(70);
  t.setEnabled(true);
  clock.advance(100);
  EXPECT_EQ(log.times, (Times{170}));
  clock.advance(90);
  t.stop();
  t.start();
  clock.advance(150);
  EXPECT_EQ(log.times, (Times{170, 360}));
}

TEST(VirtualClock, TicksRunInTimeOrderWithTiesInArmingOrder) {
  VirtualClock clock;
  std::vector<std::string> order;
  Timer a(clock, "A", 300), b(clock, "B", 200), c(clock, "C", 100), d(clock, "D", 100);
  for (Timer* t : {&a, &b, &c, &d})
    QObject::connect(t, &Timer::tick, [&order, t, &clock] {
      order.push_back(t->objectName().toStdString() + "@" + std::to_string(clock.nowMs()));
    });
  a.start();
  b.start();
  c.start();
  d.start();
  clock.callAfter(200, [&] { order.push_back("fn@" + std::to_string(clock.nowMs())); });
  clock.advance(300);
  EXPECT_EQ(order, (std::vector<std::string>{"C@100", "D@100", "B@200", "fn@200", "C@200", "D@200",
                                             "A@300", "C@300", "D@300"}));
}

TEST(VirtualClock, CallAfterRunsOnceWhenDue) {
  VirtualClock clock;
  Times calls;
  clock.callAfter(0, [&] { calls.push_back(clock.nowMs()); });
  clock.callAfter(40, [&] { calls.push_back(clock.nowMs()); });
  clock.callAfter(-5, [&] { calls.push_back(clock.nowMs()); });
  EXPECT_TRUE(calls.empty());  // nothing runs before the clock is advanced
  clock.advance(0);
  EXPECT_EQ(calls, (Times{0, 0}));
  clock.advance(39);
  EXPECT_EQ(calls.size(), 2u);
  clock.advance(1);
  EXPECT_EQ(calls, (Times{0, 0, 40}));
  clock.advance(1000);
  EXPECT_EQ(calls.size(), 3u);
  EXPECT_EQ(clock.nowMs(), 1040);
}

TEST(VirtualClock, AdvanceUntilStopsAtTheEventThatSatisfiesIt) {
  VirtualClock clock;
  Timer t(clock, "Timer1", 30);
  int ticks = 0;
  QObject::connect(&t, &Timer::tick, [&] { ++ticks; });
  t.start();
  EXPECT_TRUE(clock.advanceUntil([&] { return ticks == 3; }, 1000));
  EXPECT_EQ(clock.nowMs(), 90);
  EXPECT_FALSE(clock.advanceUntil([&] { return ticks == 100; }, 100));
  EXPECT_EQ(clock.nowMs(), 190);
  EXPECT_EQ(ticks, 6);
}

// A box opened from a tick holds every timer: nothing ticks while it is open,
// outside events (callAfter) still happen, and each held timer ticks once when
// the box closes, not once per missed interval.
TEST(VirtualClock, TimersAreHeldWhileAMessageBoxIsOpen) {
  VirtualClock clock;
  ScriptedMessageBoxes boxes(clock);
  Timer asking(clock, "Timer8", 100), other(clock, "Timer2", 50), oneShot(clock, "Timer5", 300);
  TickLog askingLog(clock, asking), otherLog(clock, other), oneShotLog(clock, oneShot);
  QObject::connect(&oneShot, &Timer::tick, [&] { oneShot.stop(); });
  Times outside;
  bool asked = false;
  QObject::connect(&asking, &Timer::tick, [&] {
    if (asked) return;
    asked = true;
    clock.callAfter(500, [&] { outside.push_back(clock.nowMs()); });
    boxes.show(nullptr, {"Go on?", "", BoxIcon::Question, BoxButtons::YesNo});
  });
  boxes.whileOpen([&](const BoxRequest&) {
    EXPECT_TRUE(clock.isHeld());
    clock.advance(1000);
  });
  asking.start();
  other.start();
  oneShot.start();
  clock.advance(1250);

  EXPECT_EQ(boxes.asked().size(), 1u);
  EXPECT_FALSE(clock.isHeld());
  EXPECT_EQ(outside, (Times{600}));
  EXPECT_EQ(askingLog.times, (Times{100, 1100, 1200}));
  EXPECT_EQ(otherLog.times, (Times{50, 1100, 1150, 1200, 1250}));
  EXPECT_EQ(oneShotLog.times, (Times{1100}));
}

TEST(VirtualClock, TimerStoppedOrDestroyedDuringABoxDoesNotTickAfterwards) {
  VirtualClock clock;
  ScriptedMessageBoxes boxes(clock);
  Timer stopped(clock, "Timer6", 100);
  auto destroyed = std::make_unique<Timer>(clock, "Timer7", 100);
  TickLog log(clock, stopped);
  int destroyedTicks = 0;
  QObject::connect(destroyed.get(), &Timer::tick, [&] { ++destroyedTicks; });
  boxes.whileOpen([&](const BoxRequest&) {
    clock.advance(250);  // both fall due and are held
    stopped.stop();
    destroyed.reset();
  });
  stopped.start();
  destroyed->start();
  boxes.show(nullptr, {"Text", "Title", BoxIcon::Information, BoxButtons::Ok});
  clock.advance(1000);
  EXPECT_TRUE(log.times.empty());
  EXPECT_EQ(destroyedTicks, 0);
  EXPECT_EQ(clock.pendingEvents(), 0u);
}

TEST(VirtualClock, TimerDestroyedWhileArmedOrInItsOwnTick) {
  VirtualClock clock;
  auto armed = std::make_unique<Timer>(clock, "Timer9", 100);
  armed->start();
  clock.advance(50);
  armed.reset();
  EXPECT_EQ(clock.pendingEvents(), 0u);

  auto self = std::make_unique<Timer>(clock, "Timer10", 100);
  int ticks = 0;
  QObject::connect(self.get(), &Timer::tick, [&] {
    ++ticks;
    self.reset();
  });
  self->start();
  Timer later(clock, "Timer11", 300);
  TickLog log(clock, later);
  later.start();
  clock.advance(1000);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(log.times, (Times{350, 650, 950}));
}

}  // namespace
}  // namespace zelta
