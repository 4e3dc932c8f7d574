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

TEST(VirtualClock, OneShotAndRepeatingTimers) {
  VirtualClock clock;
  Timer once(clock, "Timer4", 100), every(clock, "Timer8", 280);
  TickLog onceLog(clock, once), everyLog(clock, every);
  QObject::connect(&once, &Timer::tick, [&] { once.stop(); });
  clock.advance(30);
  once.start();
  every.start();
  clock.advance(1000);
  EXPECT_EQ(onceLog.times, (Times{130}));
  EXPECT_EQ(everyLog.times, (Times{310, 590, 870}));
  every.stop();
  clock.advance(1000);
  EXPECT_EQ(everyLog.times.size(), 3u);
  EXPECT_EQ(clock.pendingEvents(), 0u);
}

// Setting the interval while enabled, or enabling again, restarts the count;
// setting it while disabled arms nothing.
TEST(VirtualClock, IntervalAndEnablingRestartTheCount) {
  VirtualClock clock;
  Timer t(clock, "Timer3", 100);
  TickLog log(clock, t);
  t.start();
  clock.advance(50);
  t.setInterval(200);
  clock.advance(500);
  EXPECT_EQ(log.times, (Times{250, 450}));
  t.stop();
  t.setInterval(10);
  clock.advance(100);
  EXPECT_EQ(log.times.size(), 2u);
  t.setInterval(100);
  t.start();
  clock.advance(70);
  t.setEnabled(true);
  clock.advance(100);
  EXPECT_EQ(log.times, (Times{250, 450, 820}));
}

TEST(VirtualClock, TicksRunInTimeOrderWithTiesInArmingOrder) {
  VirtualClock clock;
  std::vector<std::string> order;
  Timer b(clock, "B", 200), c(clock, "C", 100), d(clock, "D", 100);
  for (Timer* t : {&b, &c, &d}) {
    QObject::connect(t, &Timer::tick, [&order, t, &clock] {
      order.push_back(t->objectName().toStdString() + "@" + std::to_string(clock.nowMs()));
    });
    t->start();
  }
  clock.callAfter(200, [&] { order.push_back("fn@" + std::to_string(clock.nowMs())); });
  clock.advance(200);
  EXPECT_EQ(order, (std::vector<std::string>{"C@100", "D@100", "B@200", "fn@200", "C@200", "D@200"}));
}

// A box opened from a tick holds every timer: nothing ticks while it is open,
// outside events (callAfter) still happen, and each held timer ticks once when
// the box closes, not once per missed interval, unless stopped meanwhile.
TEST(VirtualClock, TimersAreHeldWhileAMessageBoxIsOpen) {
  VirtualClock clock;
  ScriptedMessageBoxes boxes(clock);
  Timer asking(clock, "Timer8", 100), other(clock, "Timer2", 50), oneShot(clock, "Timer5", 300);
  Timer stopped(clock, "Timer6", 150);
  TickLog askingLog(clock, asking), otherLog(clock, other), oneShotLog(clock, oneShot), stoppedLog(clock, stopped);
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
    stopped.stop();  // fell due and was held: it must not tick afterwards
  });
  stopped.start();
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
  EXPECT_TRUE(stoppedLog.times.empty());
}

}  // namespace
}  // namespace zelta
