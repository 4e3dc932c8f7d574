// Automatic addressing with the installer pressing module buttons, the reset
// sweep, and the handling of every set-address confirmation.
#include "protocol/commands.h"
#include "tests/programmer/programmer_fixture.h"

namespace zelta::test {
namespace {

class AutomaticAddressing : public ProgrammerFixture {
 protected:
  // Opens, fills the range and presses "Start"; with `armed` runs until the
  // request for the start address (out 4200 ms later) has reached the modules.
  void startRun(const char* first, const char* last, bool armed = true) {
    bus.addModules(3, 0);
    startOpen();
    type("Text2", first);
    type("Text3", last);
    click("Command6");
    ASSERT_TRUE(clock.advanceUntil([&] { return sent().size() >= 3; }, 10000));
    if (armed) clock.advance(100);
  }
  const QStringList idle{"KESTRIN ZELTA II", "Programmer"};
};

TEST_F(AutomaticAddressing, ThreeModulesPressedInTurnGetThreeToFive) {
  startRun("3", "5", false);
  EXPECT_EQ(sent()[0], (Sent{0, request::collective(500)}));
  EXPECT_EQ(sent()[1], (Sent{4000, request::stopAutoAddressing()}));
  EXPECT_EQ(sent()[2], (Sent{4200, request::autoAddress(3)}));
  EXPECT_EQ(title(), QStringList({"Press Button", "on Modul 3"}));

  for (int k = 0; k < 3; ++k) {
    const std::uint16_t n = static_cast<std::uint16_t>(3 + k);
    clock.advance(1000);  // the installer walks to the next module
    bus.pressButton(2 - k);
    ASSERT_TRUE(clock.advanceUntil([&] { return tone.played().size() == std::size_t(k + 1); }, 100));
    const qint64 confirmed = clock.nowMs();
    EXPECT_EQ(title(), QStringList({QStringLiteral("Set Modul %1").arg(n), "successful"}));
    EXPECT_EQ(bus.module(2 - k).address, n);
    clock.advance(600);
    const std::size_t base = 3 + 2 * static_cast<std::size_t>(k);
    ASSERT_GE(sent().size(), base + 1);
    EXPECT_EQ(sent()[base], (Sent{confirmed + 50, request::stopAutoAddressing()}));
    if (n < 5) {
      ASSERT_EQ(sent().size(), base + 2);
      EXPECT_EQ(sent()[base + 1], (Sent{confirmed + 550, request::autoAddress(n + 1)}));
      EXPECT_EQ(title(), QStringList({"Press Button", QStringLiteral("on Modul %1").arg(n + 1)}));
    }
  }
  clock.advance(10000);
  EXPECT_EQ(sent().size(), 8u) << "after the last address only the stop broadcast";
  EXPECT_EQ(title(), QStringList({"Set Modul 5", "successful"}));
  EXPECT_TRUE(boxes.asked().empty());
}

// The start address above 32767 also checks that a confirmation from such an
// address is taken as a whole address.
TEST_F(AutomaticAddressing, EndBelowStartAddressesTheStartAddressOnly) {
  startRun("40001", "40000");
  EXPECT_EQ(sent()[2].frame, request::autoAddress(40001));
  bus.pressButton(0);
  clock.advance(5000);
  ASSERT_EQ(sent().size(), 4u);
  EXPECT_EQ(sent()[3].frame, request::stopAutoAddressing());
  EXPECT_EQ(bus.module(0).address, 40001);
  EXPECT_EQ(title(), QStringList({"Set Modul 40001", "successful"}));
  EXPECT_EQ(tone.played().size(), 1u);
  EXPECT_TRUE(boxes.asked().empty());
}

// A corrupted frame is dropped without a word; the receiver is ready for the
// next one, here a confirmation from the wrong address, which ends the run.
TEST_F(AutomaticAddressing, ConfirmationFromTheWrongAddressEndsTheRunACorruptedOneIsDropped) {
  startRun("3", "5", false);
  Frame corrupted = reply(4, cmd::AutoAddress, 0, 4);
  corrupted[10] ^= 0x01;
  inject(corrupted);
  EXPECT_TRUE(boxes.asked().empty());
  EXPECT_EQ(title(), QStringList({"Press Button", "on Modul 3"}));

  inject(reply(4, cmd::AutoAddress, 0, 4));
  ASSERT_EQ(boxes.asked().size(), 1u);
  EXPECT_EQ(boxes.asked()[0].text,
            "Wrong address from last modul dedected. Set the modul address to 0 and start with "
            "address 3 again!");
  EXPECT_EQ(title(), idle);
  clock.advance(5000);
  EXPECT_EQ(sent().size(), 3u) << "no stop broadcast, no next request";
  EXPECT_TRUE(tone.played().empty());
}

// After "Stop" nothing starts again by itself: not the next address in the
// pause after a confirmation (a module pressed later takes no address), nor
// a run whose wake-up was still pending (also at "Close").
TEST_F(AutomaticAddressing, StopInThePauseOrTheWakeUpStartsNothingMore) {
  startRun("3", "5");
  bus.pressButton(2);
  ASSERT_TRUE(clock.advanceUntil([&] { return tone.played().size() == 1; }, 100));
  const qint64 confirmed = clock.nowMs();
  clock.advance(150);  // Timer7 has sent its stop broadcast, Timer8 is pending
  click("Command5");
  EXPECT_EQ(title(), idle);
  bus.pressButton(1);
  clock.advance(5000);
  ASSERT_EQ(sent().size(), 5u);
  EXPECT_EQ(sent()[3], (Sent{confirmed + 50, request::stopAutoAddressing()}));
  EXPECT_EQ(sent()[4], (Sent{confirmed + 150, request::stopAutoAddressing()}));
  EXPECT_EQ(bus.module(1).address, 0);

  for (const char* button : {"Command5", "Command38"}) {
    SCOPED_TRACE(button);
    forgetFrames();
    click("Command6");
    clock.advance(2000);
    click(button);
    clock.advance(10000);
    ASSERT_LE(sent().size(), 2u) << "the wake-up and the stop broadcast of Stop only";
    EXPECT_NE(title(), QStringList({"Press Button", "on Modul 3"}));
    if (QLatin1String(button) == "Command38") click("Command36");
  }
}

TEST_F(AutomaticAddressing, ResetSweepAnsweredNoThenYesResetsOneToFive) {
  bus.addModules(5, 1);
  startOpen();
  click("Check1");
  boxes.queueAnswer(BoxAnswer::No);
  boxes.queueAnswer(BoxAnswer::Yes);
  boxes.whileOpen([&](const BoxRequest&) {
    if (boxes.asked().size() == 1) clock.advance(1500);  // "No" is answered slowly
  });
  click("Command6");
  clock.advance(11000);

  ASSERT_EQ(boxes.asked().size(), 2u);
  for (const BoxRequest& box : boxes.asked()) {
    EXPECT_EQ(box.text, "Are you sure to set all modules to address 0?");
    EXPECT_EQ(box.defaultButton, BoxAnswer::No);
  }
  // The question comes back a full 4000 ms after "No".
  const std::vector<Sent> expected = {
      {0, request::collective(500)},       {4000, request::stopAutoAddressing()},
      {9500, request::stopAutoAddressing()}, {9500, request::resetAddress(1)},
      {9800, request::resetAddress(2)},    {10100, request::resetAddress(3)},
      {10400, request::resetAddress(4)},   {10700, request::resetAddress(5)},
  };
  EXPECT_EQ(sent(), expected);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(bus.module(i).address, 0);
  EXPECT_EQ(tone.played().size(), 5u);
  EXPECT_EQ(title(), QStringList({"Set Modul 5", "to 0 successful"}));
  // The confirmation at the end address brings the title lines back later.
  clock.advance(5000);
  EXPECT_EQ(title(), idle);
}

}  // namespace
}  // namespace zelta::test
