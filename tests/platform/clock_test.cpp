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

// A box opened from a tick holds that timer alone: other timers and outside
// events go on while it is open, and the held timer's next tick comes one
// full interval after the box closes. A box opened from no tick holds nothing.
TEST(VirtualClock, ABoxHoldsOnlyTheTimerWhoseTickOpenedIt) {
  VirtualClock clock;
  ScriptedMessageBoxes boxes(clock);
  Timer asking(clock, "Timer12", 100), other(clock, "Timer18", 300);
  TickLog askingLog(clock, asking), otherLog(clock, other);
  const BoxRequest question{"Go on?", "", BoxIcon::Question, BoxButtons::YesNo};
  QObject::connect(&asking, &Timer::tick, [&] {
    if (askingLog.times.size() == 1) boxes.show(nullptr, question);
  });
  Times outside;
  boxes.whileOpen([&](const BoxRequest&) {
    EXPECT_EQ(asking.isHeld(), boxes.asked().size() == 1);
    EXPECT_FALSE(other.isHeld());
    clock.callAfter(50, [&] { outside.push_back(clock.nowMs()); });
    clock.advance(1000);
  });
  asking.start();
  other.start();
  clock.advance(1500);
  EXPECT_EQ(askingLog.times, (Times{100, 1200, 1300, 1400, 1500}));
  EXPECT_EQ(otherLog.times, (Times{300, 600, 900, 1200, 1500}));
  EXPECT_EQ(outside, (Times{150}));

  boxes.show(nullptr, question);  // from a button: no timer waits
  EXPECT_EQ(askingLog.times.size(), 15u);
  EXPECT_EQ(boxes.waitedForAnother(), 0);
}

}  // namespace
}  // namespace zelta
