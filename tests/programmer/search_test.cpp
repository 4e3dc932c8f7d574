// The module search (a module flashes until its button or "Stop") and the
// address search of a lone module.
#include "protocol/commands.h"
#include "tests/programmer/programmer_fixture.h"

namespace zelta::test {
namespace {

class Searches : public ProgrammerFixture {
 protected:
  // Module search for 7, with a module at 7 on the bus or not.
  void startModuleSearch(bool present) {
    if (present) bus.addModule(ModuleState{.address = 7});
    startOpen();
    click("Option2");
    type("Text5", "7");
    click("Command7");
  }
  std::vector<qint64> pollsOf7() const {
    std::vector<qint64> times;
    for (const Sent& s : sent())
      if (s.frame == request::programmerTemperature(7)) times.push_back(s.atMs);
    return times;
  }
  const QStringList idle{"KESTRIN ZELTA II", "Programmer"};
};

TEST_F(Searches, ModuleSevenFlashesUntilItsButtonIsPressed) {
  startModuleSearch(true);
  clock.advance(4000);
  EXPECT_EQ(title(), QStringList({"Modul search7", "started"}));
  ASSERT_EQ(sent().size(), 2u);
  EXPECT_EQ(sent()[1], (Sent{4000, request::moduleSearch(7, SearchAction::StartFlashing)}));

  clock.advance(100);  // the module's answer
  EXPECT_EQ(title(), QStringList({"Modul 7 is", "green/red flashing "}));
  EXPECT_TRUE(bus.module(0).flashing);
  const qint64 answered = timer(3).dueMs() - 2000;
  clock.advanceTo(answered + 2000);
  EXPECT_EQ(title(), QStringList({"Press Stop or", "Button on Modul 7"}));
  clock.advanceTo(answered + 3000);
  EXPECT_EQ(pollsOf7(), (std::vector<qint64>{answered + 500, answered + 1000, answered + 1500,
                                             answered + 2000, answered + 2500, answered + 3000}));

  bus.pressButton(0);  // the installer found it
  clock.advance(500);  // the next poll is answered
  EXPECT_EQ(title(), idle);
  const std::size_t polls = pollsOf7().size();
  clock.advance(5000);
  EXPECT_EQ(pollsOf7().size(), polls);
  EXPECT_EQ(title(), idle);
}

// The stop goes to the module searched, even when the field was edited since.
TEST_F(Searches, AbsentModuleStoppedWhileWaitingGetsTheStopRequestAndTheTimeOut) {
  startModuleSearch(false);
  clock.advance(4100);
  type("Text5", "8");
  click("Command4");
  EXPECT_EQ(title(), QStringList({"Modul search", "stopped"}));
  ASSERT_EQ(sent().size(), 3u);
  EXPECT_EQ(sent()[2], (Sent{4100, request::moduleSearch(7, SearchAction::StopFlashing)}));
  clock.advanceTo(6999);
  EXPECT_EQ(title(), QStringList({"Modul search", "stopped"}));
  clock.advance(1);  // no module at 7: three seconds after the request
  EXPECT_EQ(title(), QStringList({"No answer from", "Modul 7"}));
  clock.advanceTo(7100);
  EXPECT_EQ(title(), idle);
  clock.advance(10000);
  EXPECT_EQ(sent().size(), 3u) << "no polling without an answer";
}

TEST_F(Searches, StopDuringTheWakeUpSearchesNothingAndTheAnswerToAStopShowsTheStatus) {
  startModuleSearch(true);
  clock.advance(2000);
  click("Command4");
  clock.advance(10000);
  EXPECT_EQ(sent()[1], (Sent{2000, request::moduleSearch(7, SearchAction::StopFlashing)}));
  for (const Sent& s : sent())
    EXPECT_NE(s.frame, request::moduleSearch(7, SearchAction::StartFlashing)) << s.atMs;
  EXPECT_FALSE(bus.module(0).flashing);

  click("Command7");
  clock.advance(5100);
  click("Command4");
  const qint64 stopped = clock.nowMs();
  clock.advance(100);  // the module answers the stop request with 0xFC
  EXPECT_EQ(title(), QStringList({"Modul 7 is", "green/red flashing "}));
  EXPECT_TRUE(timer(14).isEnabled());
  EXPECT_FALSE(bus.module(0).flashing);
  clock.advanceTo(stopped + 3000);  // Timer13 restores, the module answers the poll
  EXPECT_EQ(title(), idle);
}

// Answered No, the question comes again every four seconds; answered Yes, the
// address query goes out and the lone module's address is shown.
TEST_F(Searches, AddressSearchAsksUntilYesThenReadsTheLoneModulesAddress) {
  bus.addModule(ModuleState{.address = 260});
  startOpen();
  click("Option2");
  for (BoxAnswer a : {BoxAnswer::No, BoxAnswer::No, BoxAnswer::Yes}) boxes.queueAnswer(a);
  click("Command3");
  clock.advance(11999);
  EXPECT_EQ(boxes.asked().size(), 2u);
  EXPECT_EQ(sent().size(), 1u);
  clock.advance(1);
  ASSERT_EQ(boxes.asked().size(), 3u);
  EXPECT_EQ(boxes.asked()[2].title, "Request module address");
  EXPECT_EQ(title(), QStringList({"Address search", "started"}));
  EXPECT_EQ(sent().back(), (Sent{12000, request::addressQuery()}));

  clock.advance(100);
  EXPECT_EQ(title(), QStringList({"Current Modul", "Address is  260"}));
  EXPECT_EQ(text("Text4"), "260");
  clock.advanceTo(timer(5).dueMs());
  EXPECT_EQ(title(), idle);
}

}  // namespace
}  // namespace zelta::test
