// The line check: the LED alternation of the send line test and the numbered
// messages of the receive line test.
#include "protocol/commands.h"
#include "tests/programmer/programmer_fixture.h"

namespace zelta::test {
namespace {

class LineCheckTest : public ProgrammerFixture {
 protected:
  void enter() {
    bus.addModules(2, 0);
    startOpen();
    click("Option3");
  }
};

TEST_F(LineCheckTest, SendLineAlternatesGreenAndRedOncePerSecond) {
  enter();
  clock.advance(500);
  click("Command8");
  clock.advance(20);  // the frame has crossed the line
  EXPECT_EQ(bus.module(1).led, LedState::Green);
  clock.advance(1000);
  EXPECT_EQ(title(), QStringList({"Line Check", "Set LED red"}));
  EXPECT_EQ(bus.module(1).led, LedState::Red);
  clock.advance(1000);
  EXPECT_EQ(title(), QStringList({"Line Check", "Set LED green"}));
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
  enter();
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
  EXPECT_EQ(boxes.asked()[0].icon, BoxIcon::Information);

  // Meanwhile the collective request to 500 went out once per second.
  std::vector<qint64> requests;
  for (const Sent& s : sent())
    if (s.frame == request::collective(500)) requests.push_back(s.atMs);
  ASSERT_GE(requests.size(), 3u);
  for (std::size_t i = 0; i < requests.size(); ++i)
    EXPECT_EQ(requests[i], 1000 * qint64(i + 1));

  forgetFrames();
  click("Command9");
  clock.advance(3000);
  ASSERT_EQ(sent().size(), 1u) << "the closing ping, no more collective requests";
  EXPECT_EQ(sent()[0].frame, request::ping(0, 0));
}

TEST_F(LineCheckTest, NumberedMessagesCountOnlyInTheReceiveLineTest) {
  enter();  // "Send Line" selected
  inject(replyFrame(0, cmd::Ping, 0x01, 0x2C));
  EXPECT_EQ(text("Label2"), "");
  click("Option5");
  inject(replyFrame(0, cmd::Ping, 0x01, 0x2C));
  EXPECT_EQ(text("Label2"), "300");
  click("Option2");  // outside the mode
  inject(replyFrame(0, cmd::Ping, 0, 0));
  EXPECT_TRUE(boxes.asked().empty());
}

TEST_F(LineCheckTest, LeavingTheModeStopsTheReceiveRequestsButNotTheLeds) {
  enter();
  click("Command8");  // LEDs alternate
  click("Option5");
  click("Command8");  // and the receive requests run
  EXPECT_TRUE(timer(20).isEnabled());
  click("Command9");  // "Receive Line" selected: only the receive test stops
  EXPECT_FALSE(timer(20).isEnabled());
  EXPECT_TRUE(timer(18).isEnabled() || timer(19).isEnabled());
  click("Command8");
  click("Option1");
  EXPECT_FALSE(timer(20).isEnabled());
  forgetFrames();
  clock.advance(2000);
  ASSERT_EQ(sent().size(), 2u) << "the LEDs go on alternating";
  EXPECT_EQ(sent()[0].frame, request::setLed(LedState::Red));
  EXPECT_FALSE(enabled("Command9"));
}

TEST_F(LineCheckTest, InfoShowsTheInstructions) {
  enter();
  click("b_Receive_Info");
  ASSERT_EQ(boxes.asked().size(), 1u);
  const BoxRequest& box = boxes.asked()[0];
  EXPECT_EQ(box.title, "Line Check");
  EXPECT_EQ(box.icon, BoxIcon::Information);
  EXPECT_EQ(box.buttons, BoxButtons::Ok);
  const QStringList lines = box.text.split("\r\n");
  ASSERT_EQ(lines.size(), 21);
  const std::vector<std::pair<int, const char*>> expected = {
      {1, "About Line Check:"},
      {2, ""},
      {3, "    Line Check can only run, if all modules have address \"0\"."},
      {5, "    1. Send Line: "},
      {6, "        a. Click \"Start\""},
      {8, "          red/green."},
      {10, "        BAD:  If the LEDs on one or more modules do not blink."},
      {12, "    2. Receive Line: "},
      {16, "        Module will start transmitting 300 numbered messages (300 to 0)."},
      {18, "        BAD:  If no number is to be seen on the display, "},
      {19, "          or the number jumps multiple counts on any update."},
      {20, ""},
      {21, "    Click \"Stop\" when done."},
  };
  for (const auto& [number, line] : expected)
    EXPECT_EQ(lines[number - 1], QString::fromLatin1(line)) << "line " << number;
  EXPECT_EQ(box.text.count('\r'), 20);
  EXPECT_EQ(box.text.count('\n'), 20);
  EXPECT_FALSE(box.text.endsWith('\n'));
}

}  // namespace
}  // namespace zelta::test
