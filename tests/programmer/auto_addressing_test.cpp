// Automatic addressing with the installer pressing module buttons, the reset
// sweep, and the handling of every set-address confirmation.
#include <QCheckBox>

#include "protocol/commands.h"
#include "tests/programmer/programmer_fixture.h"

namespace zelta::test {
namespace {

class AutomaticAddressing : public ProgrammerFixture {
 protected:
  // Opens, fills the range and presses "Start"; the addressing request for
  // the start address goes out 4200 ms later.
  void startRun(const char* first, const char* last, int modules = 3) {
    bus.addModules(modules, 0);
    startOpen();
    setText("Text2", first);
    setText("Text3", last);
    click("Command6");
  }
  // Runs until the request for the start address has reached the modules.
  void untilArmed() {
    runUntilSent(3);
    clock.advance(100);
  }
  // Runs until the program has written n frames in all.
  void runUntilSent(std::size_t n, qint64 maxMs = 10000) {
    ASSERT_TRUE(clock.advanceUntil([&] { return sent().size() >= n; }, maxMs))
        << "only " << sent().size() << " frames";
  }
};

TEST_F(AutomaticAddressing, ThreeModulesPressedInTurnGetThreeToFive) {
  startRun("3", "5");
  runUntilSent(3);
  EXPECT_EQ(sent()[0], (Sent{0, request::collective(500)}));
  EXPECT_EQ(sent()[1], (Sent{4000, request::stopAutoAddressing()}));
  EXPECT_EQ(sent()[2], (Sent{4200, request::autoAddress(3)}));
  EXPECT_EQ(title(), QStringList({"Press Button", "on Modul 3"}));

  std::vector<qint64> confirmed;
  for (int k = 0; k < 3; ++k) {
    const std::uint16_t n = static_cast<std::uint16_t>(3 + k);
    clock.advance(1000);  // the installer walks to the next module
    bus.pressButton(2 - k);
    ASSERT_TRUE(clock.advanceUntil([&] { return tone.played().size() == std::size_t(k + 1); }, 100));
    confirmed.push_back(clock.nowMs());
    EXPECT_EQ(title(), QStringList({QStringLiteral("Set Modul %1").arg(n), "successful"}));
    EXPECT_EQ(bus.module(2 - k).address, n);
    clock.advance(600);
    const std::size_t base = 3 + 2 * static_cast<std::size_t>(k);
    ASSERT_GE(sent().size(), base + 1);
    EXPECT_EQ(sent()[base], (Sent{confirmed.back() + 50, request::stopAutoAddressing()}));
    if (n < 5) {
      ASSERT_EQ(sent().size(), base + 2);
      EXPECT_EQ(sent()[base + 1], (Sent{confirmed.back() + 550, request::autoAddress(n + 1)}));
      EXPECT_EQ(title(), QStringList({"Press Button", QStringLiteral("on Modul %1").arg(n + 1)}));
    }
  }
  EXPECT_EQ(toneTimes(), confirmed);
  clock.advance(10000);
  EXPECT_EQ(sent().size(), 8u) << "after the last address only the stop broadcast";
  EXPECT_EQ(title(), QStringList({"Set Modul 5", "successful"}));
  EXPECT_TRUE(boxes.asked().empty());
}

TEST_F(AutomaticAddressing, EndBelowStartAddressesTheStartAddressOnly) {
  startRun("5", "3");
  untilArmed();
  EXPECT_EQ(sent()[2].frame, request::autoAddress(5));
  bus.pressButton(0);
  clock.advance(5000);
  ASSERT_EQ(sent().size(), 4u);
  EXPECT_EQ(sent()[3].frame, request::stopAutoAddressing());
  EXPECT_EQ(bus.module(0).address, 5);
}

TEST_F(AutomaticAddressing, ConfirmationFromTheWrongAddressEndsTheRun) {
  startRun("3", "5");
  runUntilSent(3);
  inject(replyFrame(4, cmd::AutoAddress, 0, 4));
  ASSERT_EQ(boxes.asked().size(), 1u);
  const BoxRequest& box = boxes.asked()[0];
  EXPECT_EQ(box.text,
            "Wrong address from last modul dedected. Set the modul address to 0 and start with "
            "address 3 again!");
  EXPECT_EQ(box.icon, BoxIcon::Critical);
  EXPECT_EQ(box.buttons, BoxButtons::Ok);
  EXPECT_EQ(box.title, "ZELTA_Programmer");
  EXPECT_EQ(title(), QStringList({"KESTRIN ZELTA II", "Programmer"}));
  clock.advance(5000);
  EXPECT_EQ(sent().size(), 3u) << "no stop broadcast, no next request";
  EXPECT_TRUE(tone.played().empty());
}

TEST_F(AutomaticAddressing, StopDuringThePauseStillSendsTheNextRequestButNoMore) {
  startRun("3", "5");
  untilArmed();
  bus.pressButton(2);
  ASSERT_TRUE(clock.advanceUntil([&] { return tone.played().size() == 1; }, 100));
  const qint64 confirmed = clock.nowMs();
  clock.advance(150);  // Timer7 has sent its stop broadcast, Timer8 is pending
  click("Command5");
  EXPECT_EQ(title(), QStringList({"KESTRIN ZELTA II", "Programmer"}));
  clock.advance(1000);
  ASSERT_EQ(sent().size(), 6u);
  EXPECT_EQ(sent()[3], (Sent{confirmed + 50, request::stopAutoAddressing()}));
  EXPECT_EQ(sent()[4], (Sent{confirmed + 150, request::stopAutoAddressing()}));
  EXPECT_EQ(sent()[5], (Sent{confirmed + 550, request::autoAddress(4)}));

  // A module still pressed for 4 is confirmed, but the run goes no further.
  bus.pressButton(1);
  clock.advance(5000);
  ASSERT_EQ(sent().size(), 7u);
  EXPECT_EQ(sent()[6].frame, request::stopAutoAddressing());
  EXPECT_EQ(title(), QStringList({"Set Modul 4", "successful"}));
}

TEST_F(AutomaticAddressing, CorruptedConfirmationIsDroppedWithoutAWord) {
  startRun("3", "5");
  runUntilSent(3);
  Frame wrong = replyFrame(4, cmd::AutoAddress, 0, 4);
  wrong[10] ^= 0x01;
  inject(wrong);
  EXPECT_TRUE(boxes.asked().empty());
  EXPECT_EQ(title(), QStringList({"Press Button", "on Modul 3"}));

  inject(replyFrame(3, cmd::AutoAddress, 0, 3));  // the receiver is ready again
  EXPECT_EQ(title(), QStringList({"Set Modul 3", "successful"}));
  EXPECT_TRUE(boxes.asked().empty());
}

TEST_F(AutomaticAddressing, ConfirmationsFromHighAddressesAreHandled) {
  startRun("40000", "40001");
  untilArmed();
  EXPECT_EQ(sent()[2].frame, request::autoAddress(40000));
  bus.pressButton(0);
  clock.advance(1000);
  EXPECT_EQ(bus.module(0).address, 40000);
  ASSERT_EQ(sent().size(), 5u);
  EXPECT_EQ(sent()[4].frame, request::autoAddress(40001));
  EXPECT_EQ(tone.played().size(), 1u);
  EXPECT_TRUE(boxes.asked().empty());
}

TEST_F(AutomaticAddressing, EndAddressMadeUnusableDuringTheRunStopsItQuietly) {
  startRun("3", "5");
  untilArmed();
  setText("Text3", "99999");
  bus.pressButton(2);
  clock.advance(2000);
  ASSERT_EQ(sent().size(), 4u) << "the stop broadcast, no request from the unusable end";
  EXPECT_EQ(sent()[3].frame, request::stopAutoAddressing());
  EXPECT_TRUE(boxes.asked().empty());
}

TEST_F(AutomaticAddressing, ResetSweepAnsweredNoThenYesResetsOneToFive) {
  bus.addModules(5, 1);
  startOpen();
  find<QCheckBox>("Check1")->setChecked(true);
  boxes.queueAnswer(BoxAnswer::No);
  boxes.queueAnswer(BoxAnswer::Yes);
  click("Command6");
  clock.advance(9500);

  ASSERT_EQ(boxes.asked().size(), 2u);
  for (const BoxRequest& box : boxes.asked()) {
    EXPECT_EQ(box.text, "Are you sure to set all modules to address 0?");
    EXPECT_EQ(box.title, "Reset Addresses");
    EXPECT_EQ(box.icon, BoxIcon::None);
    EXPECT_EQ(box.buttons, BoxButtons::YesNo);
  }
  const std::vector<Sent> expected = {
      {0, request::collective(500)},       {4000, request::stopAutoAddressing()},
      {8000, request::stopAutoAddressing()}, {8000, request::resetAddress(1)},
      {8300, request::resetAddress(2)},    {8600, request::resetAddress(3)},
      {8900, request::resetAddress(4)},    {9200, request::resetAddress(5)},
  };
  EXPECT_EQ(sent(), expected);
  EXPECT_FALSE(timer(6).isEnabled());
  for (int i = 0; i < 5; ++i) EXPECT_EQ(bus.module(i).address, 0);
  EXPECT_EQ(tone.played().size(), 5u);
  EXPECT_EQ(title(), QStringList({"Set Modul 5", "to 0 successful"}));
  // The confirmation at the end address brings the title lines back later.
  clock.advance(5000);
  EXPECT_EQ(title(), QStringList({"KESTRIN ZELTA II", "Programmer"}));
}

TEST_F(AutomaticAddressing, ResetSweepStatusWhileItRuns) {
  bus.addModules(2, 1);
  startOpen();
  find<QCheckBox>("Check1")->setChecked(true);
  click("Command6");
  clock.advance(4000);
  EXPECT_EQ(title(), QStringList({"Set Modul 1", "to Address 0"}));
  clock.advance(100);  // module 1 confirms from address 0
  EXPECT_EQ(title(), QStringList({"Set Modul 1", "to 0 successful"}));
  EXPECT_FALSE(timer(5).isEnabled()) << "not yet at the end address";
}

TEST_F(AutomaticAddressing, ResetOfASingleAddress) {
  startOpen();
  setText("Text2", "7");
  setText("Text3", "7");
  find<QCheckBox>("Check1")->setChecked(true);
  click("Command6");
  clock.advance(6000);
  ASSERT_EQ(sent().size(), 3u);
  EXPECT_EQ(sent()[2], (Sent{4000, request::resetAddress(7)}));
}

TEST_F(AutomaticAddressing, ClearingTheResetBoxAfterNoStartsAddressing) {
  startOpen();
  find<QCheckBox>("Check1")->setChecked(true);
  boxes.queueAnswer(BoxAnswer::No);
  click("Command6");
  clock.advance(4000);
  find<QCheckBox>("Check1")->setChecked(false);
  clock.advance(4200);
  ASSERT_EQ(sent().size(), 4u);
  EXPECT_EQ(sent()[3], (Sent{8200, request::autoAddress(1)}));
  EXPECT_EQ(boxes.asked().size(), 1u);
}

TEST_F(AutomaticAddressing, NoTimerTicksWhileTheQuestionIsOpen) {
  startOpen();
  find<QCheckBox>("Check1")->setChecked(true);
  boxes.whileOpen([this](const BoxRequest&) { clock.advance(20000); });
  boxes.queueAnswer(BoxAnswer::No);
  click("Command6");
  clock.advance(4000);
  EXPECT_EQ(boxes.asked().size(), 1u) << "no second question stacked on the first";
  EXPECT_EQ(sent().size(), 2u);
}

}  // namespace
}  // namespace zelta::test
