// The line check: the LED alternation of the send line test and the numbered
// messages of the receive line test.
#include "protocol/commands.h"
#include "tests/programmer/programmer_fixture.h"

namespace zelta::test {
namespace {

class LineCheckTest : public ProgrammerFixture {
 protected:
  void SetUp() override {
    bus.addModules(2, 0);
    startOpen();
    click("Option3");
  }
};

TEST_F(LineCheckTest, SendLineAlternatesGreenAndRedOncePerSecond) {
  clock.advance(500);
  click("Command8");
  clock.advance(1020);  // the frames have crossed the line
  EXPECT_EQ(title(), QStringList({"Line Check", "Set LED red"}));
  EXPECT_EQ(bus.module(1).led, LedState::Red);
  clock.advance(1000);
  EXPECT_EQ(bus.module(0).led, LedState::Green);
  clock.advance(480);
  click("Command9");
  EXPECT_EQ(title(), QStringList({"Line Check", ""}));
  clock.advance(5000);
  const std::vector<Sent> expected = {{500, request::setLed(LedState::Green)},
                                      {1500, request::setLed(LedState::Red)},
                                      {2500, request::setLed(LedState::Green)},
                                      {3000, request::setLed(LedState::Off)}};
  EXPECT_EQ(sent(), expected);
  EXPECT_EQ(bus.module(0).led, LedState::Off);
}

TEST_F(LineCheckTest, ReceiveLineShowsEveryNumberDownToZero) {
  click("Option5");
  click("Command8");
  clock.advance(100);
  bus.powerUpWithButtonHeld(1);
  std::vector<int> shown;
  while (shown.empty() || shown.back() != 0) {
    const QString before = text("Label2");
    ASSERT_TRUE(clock.advanceUntil([&] { return text("Label2") != before; }, 1000))
        << "stalled after " << shown.size() << " numbers";
    shown.push_back(text("Label2").toInt());
  }
  ASSERT_EQ(shown.size(), 301u);
  for (int k = 0; k <= 300; ++k) ASSERT_EQ(shown[std::size_t(k)], 300 - k);
  ASSERT_EQ(boxes.asked().size(), 1u);
  EXPECT_EQ(boxes.asked()[0].text, "To restart test, reconnect module.");
  EXPECT_EQ(boxes.asked()[0].title, "Line Check");

  // Meanwhile the collective request to 500 went out once per second.
  std::vector<qint64> requests;
  for (const Sent& s : sent())
    if (s.frame == request::collective(500)) requests.push_back(s.atMs);
  ASSERT_GE(requests.size(), 3u);
  for (std::size_t i = 0; i < requests.size(); ++i) EXPECT_EQ(requests[i], 1000 * qint64(i + 1));

  forgetFrames();
  click("Command9");
  clock.advance(3000);
  ASSERT_EQ(sent().size(), 1u) << "the closing ping, no more collective requests";
  EXPECT_EQ(sent()[0].frame, request::ping(0, 0));
}

}  // namespace
}  // namespace zelta::test
