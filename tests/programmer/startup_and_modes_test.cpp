// Start-up by expert level, Open and its failure with the reason, a line lost
// while open and the port kept for the next start, what "Close" ends, and the
// line check: the LEDs of the send line test, the messages of the receive test.
#include <gtest/gtest-spi.h>

#include <QComboBox>
#include <numeric>

#include "protocol/commands.h"
#include "tests/programmer/programmer_fixture.h"
#include "widgets/lamp.h"

namespace zelta::test {
namespace {

using StartUp = ProgrammerFixture;

TEST_F(StartUp, ArgumentStringChoosesTheExpertLevel) {
  struct Case {
    const char* arguments;
    int level;
    const char* newAddress;
    const char* valueWindow;  // shown at start, or nullptr
    bool helpBox;
  };
  const Case cases[] = {{"", 0, "1", nullptr, false},    {"-E", 1, "1", "Form2", false}, {"-se", 2, "0", "Form3", false},
                        {"-Se", 0, "1", nullptr, false}, {"-e ", 0, "1", nullptr, false}, {"-e -se", 0, "1", nullptr, false},
                        {"-?", 0, "1", nullptr, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("arguments '") + c.arguments + "'");
    start(QString::fromLatin1(c.arguments));
    EXPECT_EQ(window->state().expert, c.level);
    EXPECT_EQ(!find<QWidget>("Label11")->isHidden(), c.level > 0);
    EXPECT_EQ(text("Text1"), c.newAddress);
    for (const char* form : {"Form2", "Form3"}) {
      QWidget* w = topLevel(form);
      EXPECT_EQ(w && w->isVisible(), c.valueWindow && QLatin1String(c.valueWindow) == form) << form;
    }
    EXPECT_EQ(boxes.asked().size() == 1 && boxes.asked()[0].text == "-e (-E) or -se (-SE) for expert mode",
              c.helpBox);
  }
}

TEST_F(StartUp, OpenSendsTheStopBroadcastAndAtLevelTwoEndsInManualModeWithTheLocks) {
  start("-se");
  click("Command36");
  EXPECT_EQ(sent(), (std::vector<Sent>{{0, request::stopAutoAddressing()}}));
  EXPECT_EQ(line.openedPort(), 1);
  EXPECT_TRUE(find<QAbstractButton>("Option2")->isChecked());
  for (const char* name : {"Command38", "Option2", "Option3", "Frame5", "Frame2", "Command1"})
    EXPECT_TRUE(enabled(name)) << name;
  for (const char* name : {"Command36", "Combo2", "Option1", "Frame1", "Frame3", "Frame7"})
    EXPECT_FALSE(enabled(name)) << name;
  EXPECT_EQ(window->focusWidget(), find<QWidget>("Command3")) << "Address Search's Start";
  click("Option3");  // Line Check stays selectable, and back again
  click("Option2");
  EXPECT_FALSE(enabled("Option1") || enabled("Frame3"));
  // The fixture acts only as a user could: a disabled control is refused.
  ::testing::TestPartResultArray refused;
  {
    const ::testing::ScopedFakeTestPartResultReporter catcher(&refused);
    click("Command36");
    type("Text2", "5");
  }
  ASSERT_EQ(refused.size(), 2);
  EXPECT_TRUE(QString(refused.GetTestPartResult(1).message()).contains("Text2 is not enabled"));
  EXPECT_EQ(text("Text2"), "1") << "typed into";
}

// A line lost shows in red until the next Open, whose port is kept for the
// next start.
TEST_F(StartUp, PortNumberIsCutFromTheNameAFailedOpenChangesNothingALostLineIsRed) {
  struct Case {
    const char* name;
    int port;  // 0: the port does not exist
    const char* reason;
  };
  line.setAvailablePorts({12});
  for (const Case& c : {Case{"COMx", 0, "\"COMx\" names no port"},
                        Case{"COM4", 0, "No such device: COM4"}, Case{"COM12", 12, ""}}) {
    SCOPED_TRACE(c.name);
    start();
    find<QComboBox>("Combo2")->setCurrentText(QString::fromLatin1(c.name));
    click("Command36");
    ASSERT_EQ(line.isOpen(), c.port != 0);
    if (c.port != 0) {
      EXPECT_EQ(line.openedPort(), c.port);
      EXPECT_EQ(window->focusWidget(), find<QWidget>("Command6")) << "Automatic's Start";
      continue;
    }
    EXPECT_EQ(boxes.asked().size() == 1 ? boxes.asked()[0].text : "", "Port already open");
    EXPECT_TRUE(boxes.asked().size() == 1 &&
                boxes.asked()[0].detail.startsWith(QLatin1String(c.reason)));
    EXPECT_TRUE(enabled("Command36"));
    for (const char* control : {"Command38", "Option1", "Option2", "Frame1", "Command1"})
      EXPECT_FALSE(enabled(control)) << control;
    EXPECT_TRUE(sent().empty());
  }
  auto* red = find<QLabel>("LineStatus");
  line.failNow("Input/output error");
  EXPECT_EQ(red->isHidden() ? "" : red->text(),
            "Line lost on COM12: Input/output error. Close, then Open again once it is back.");
  EXPECT_TRUE(boxes.asked().empty());
  click("Command38");
  click("Command36");
  EXPECT_TRUE(red->isHidden());
  start();
  EXPECT_EQ(text("PortDevice"), "COM12 opens /dev/ttyS11");
}

TEST_F(StartUp, CloseStopsTheStepTimersAndTheWakeUpsButNotTheModuleSearchPoll) {
  startOpen();
  click("Command6");  // Timer12 waiting; the wake-up request lights TXANZ
  for (int n : {5, 6, 7, 8, 9, 11, 13, 14, 15, 16}) timer(n).start();
  click("Command38");
  for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15, 16})
    EXPECT_FALSE(timer(n).isEnabled()) << "Timer" << n;
  for (int n : {13, 14}) EXPECT_TRUE(timer(n).isEnabled()) << "Timer" << n;
  // The lamps' timers are among them, so Close puts the lamps out itself.
  for (const char* lamp : {"TXANZ", "RXANZ"})
    EXPECT_EQ(find<Lamp>(lamp)->colour(), colour::DarkGreen) << lamp;
}

// A question that comes back after "No" ends with "Close" (and does not come
// back with the next "Open") or with a switch of mode; so does a wake-up.
TEST_F(StartUp, CloseOrAModeSwitchEndsEveryWakeUpAndQuestionLoop) {
  struct Case {
    const char* mode;
    const char* start;
    const char* leave;
    int questions;  // asked before leaving, each answered No
  };
  const Case cases[] = {{"Option1", "Command6", "Command38", 2}, {"Option1", "Command6", "Option3", 1},
                        {"Option2", "Command3", "Command38", 2}, {"Option2", "Command3", "Option1", 1},
                        {"Option2", "Command7", "Command38", 0}, {"Option2", "Command2", "Option3", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.start) + " left by " + c.leave);
    startOpen();
    click(c.mode);
    if (QLatin1String(c.mode) == "Option1") click("Check1");
    for (int q = 0; q < c.questions; ++q) boxes.queueAnswer(BoxAnswer::No);
    click(c.start);
    clock.advance(c.questions == 0 ? 2000 : 4000 * c.questions + 100);
    ASSERT_EQ(boxes.asked().size(), std::size_t(c.questions));
    click(c.leave);
    if (QLatin1String(c.leave) == "Command38") click("Command36");
    forgetFrames();
    clock.advance(10000);
    EXPECT_EQ(boxes.asked().size(), std::size_t(c.questions));
    EXPECT_TRUE(sent().empty()) << sent().size() << " frames";
  }
}

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
  boxes.whileOpen([&](const BoxRequest&) { clock.advance(1000); });
  click("b_Receive_Info");  // the LEDs go on switching while it is read
  ASSERT_EQ(boxes.asked().size(), 1u);
  EXPECT_TRUE(boxes.asked()[0].keepLines);
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
  std::vector<int> expected(301);
  std::iota(expected.rbegin(), expected.rend(), 0);
  EXPECT_EQ(shown, expected);
  ASSERT_EQ(boxes.asked().size(), 1u);
  EXPECT_EQ(boxes.asked()[0].text + boxes.asked()[0].title, "To restart test, reconnect module.Line Check");

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
