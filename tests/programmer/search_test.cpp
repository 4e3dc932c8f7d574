// The module search (a module flashes until its button or "Stop") and the
// address search of a lone module.
#include "protocol/commands.h"
#include "tests/programmer/programmer_fixture.h"

namespace zelta::test {
namespace {

class Searches : public ProgrammerFixture {
 protected:
  void startModuleSearch(const char* address) {
    startOpen();
    click("Option2");
    setText("Text5", address);
    click("Command7");
  }
  std::vector<qint64> temperatureRequestsTo(std::uint16_t address) const {
    std::vector<qint64> times;
    for (const Sent& s : sent())
      if (s.frame == request::programmerTemperature(address)) times.push_back(s.atMs);
    return times;
  }
};

TEST_F(Searches, ModuleSevenFlashesUntilItsButtonIsPressed) {
  ModuleState seven;
  seven.address = 7;
  const int module = bus.addModule(seven);
  startModuleSearch("7");

  clock.advance(4000);
  EXPECT_EQ(title(), QStringList({"Modul search7", "started"}));
  ASSERT_EQ(sent().size(), 2u);
  EXPECT_EQ(sent()[1], (Sent{4000, request::moduleSearch(7, SearchAction::StartFlashing)}));

  clock.advance(100);  // the module's answer
  EXPECT_EQ(title(), QStringList({"Modul 7 is", "green/red flashing "}));
  EXPECT_TRUE(bus.module(module).flashing);
  const qint64 answered = timer(3).dueMs() - 2000;

  clock.advanceTo(answered + 2000);
  EXPECT_EQ(title(), QStringList({"Press Stop or", "Button on Modul 7"}));
  clock.advanceTo(answered + 3000);
  EXPECT_EQ(temperatureRequestsTo(7),
            (std::vector<qint64>{answered + 500, answered + 1000, answered + 1500,
                                 answered + 2000, answered + 2500, answered + 3000}));

  bus.pressButton(module);  // the installer found it
  clock.advance(500);       // the next poll is answered
  EXPECT_EQ(title(), QStringList({"KESTRIN ZELTA II", "Programmer"}));
  EXPECT_FALSE(timer(14).isEnabled());
  const std::size_t polls = temperatureRequestsTo(7).size();
  clock.advance(5000);
  EXPECT_EQ(temperatureRequestsTo(7).size(), polls);
  EXPECT_EQ(title(), QStringList({"KESTRIN ZELTA II", "Programmer"}));
}

TEST_F(Searches, AbsentModuleGivesNoAnswerAfterThreeSeconds) {
  startModuleSearch("7");
  clock.advance(6999);
  EXPECT_EQ(title(), QStringList({"Modul search7", "started"}));
  clock.advance(1);
  EXPECT_EQ(title(), QStringList({"No answer from", "Modul 7"}));
  clock.advance(10000);
  EXPECT_EQ(sent().size(), 2u) << "no polling without an answer";
}

TEST_F(Searches, StopWhileWaitingSendsTheStopRequestAndTheTimeOutStillComes) {
  startModuleSearch("7");
  clock.advance(4100);
  click("Command4");
  EXPECT_EQ(title(), QStringList({"Modul search", "stopped"}));
  ASSERT_EQ(sent().size(), 3u);
  EXPECT_EQ(sent()[2], (Sent{4100, request::moduleSearch(7, SearchAction::StopFlashing)}));
  clock.advanceTo(7000);
  EXPECT_EQ(title(), QStringList({"No answer from", "Modul 7"}));
  clock.advanceTo(7100);
  EXPECT_EQ(title(), QStringList({"KESTRIN ZELTA II", "Programmer"}));
}

TEST_F(Searches, AnswerToTheStopRequestStartsTheFlashingStatusAgain) {
  ModuleState seven;
  seven.address = 7;
  bus.addModule(seven);
  startModuleSearch("7");
  clock.advance(4100);
  clock.advance(1000);
  click("Command4");
  const qint64 stopped = clock.nowMs();
  clock.advance(100);  // the module answers the stop request with 0xFC
  EXPECT_EQ(title(), QStringList({"Modul 7 is", "green/red flashing "}));
  EXPECT_TRUE(timer(14).isEnabled());
  EXPECT_FALSE(bus.module(0).flashing);
  clock.advanceTo(stopped + 3000);  // Timer13 restores, the module answers the poll
  EXPECT_EQ(title(), QStringList({"KESTRIN ZELTA II", "Programmer"}));
}

TEST_F(Searches, SearchAddressMadeUnusableBeforeTheSearchSendsNothing) {
  startModuleSearch("7");
  setText("Text5", "7.5");
  clock.advance(8000);
  EXPECT_EQ(sent().size(), 1u);
  EXPECT_TRUE(boxes.asked().empty());
  EXPECT_EQ(title(), QStringList({"Wake up", "Module"}));
}

TEST_F(Searches, AddressSearchReadsTheLoneModulesAddress) {
  ModuleState lone;
  lone.address = 260;
  bus.addModule(lone);
  startOpen();
  click("Option2");
  click("Command3");
  clock.advance(4000);
  ASSERT_EQ(boxes.asked().size(), 1u);
  EXPECT_EQ(boxes.asked()[0].text, "Please check whether only one module is connected to the bus");
  EXPECT_EQ(boxes.asked()[0].title, "Request module address");
  EXPECT_EQ(boxes.asked()[0].icon, BoxIcon::None);
  EXPECT_EQ(boxes.asked()[0].buttons, BoxButtons::YesNo);
  EXPECT_EQ(title(), QStringList({"Address search", "started"}));
  ASSERT_EQ(sent().size(), 2u);
  EXPECT_EQ(sent()[1], (Sent{4000, request::addressQuery()}));

  clock.advance(100);
  EXPECT_EQ(title(), QStringList({"Current Modul", "Address is  260"}));
  EXPECT_EQ(text("Text4"), "260");
  EXPECT_FALSE(timer(2).isEnabled());
  const qint64 answered = timer(5).dueMs() - 5000;
  clock.advanceTo(answered + 5000);
  EXPECT_EQ(title(), QStringList({"KESTRIN ZELTA II", "Programmer"}));
}

TEST_F(Searches, AddressSearchAnsweredNoAsksAgainEveryFourSeconds) {
  startOpen();
  click("Option2");
  boxes.queueAnswer(BoxAnswer::No);
  boxes.queueAnswer(BoxAnswer::No);
  boxes.queueAnswer(BoxAnswer::Yes);
  click("Command3");
  clock.advance(11999);
  EXPECT_EQ(boxes.asked().size(), 2u);
  EXPECT_EQ(sent().size(), 1u);
  clock.advance(1);
  EXPECT_EQ(boxes.asked().size(), 3u);
  ASSERT_EQ(sent().size(), 2u);
  EXPECT_EQ(sent()[1], (Sent{12000, request::addressQuery()}));
  // Nobody answers: the time-out names the last module search, here none.
  clock.advance(3000);
  EXPECT_EQ(title(), QStringList({"No answer from", "Modul "}));
}

TEST_F(Searches, AddressFromAHighReplyIsShownInFull) {
  startOpen();
  click("Option2");
  click("Command3");
  clock.advance(4000);
  inject(replyFrame(0xFFFF, cmd::Address, 0, 0xFF, 0xFE));
  EXPECT_EQ(text("Text4"), "65534");
}

}  // namespace
}  // namespace zelta::test
