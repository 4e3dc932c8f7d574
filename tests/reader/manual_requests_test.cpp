// Manual Mode: the six value buttons, the module search, and the address
// field with the "Module Values" window it clears.
#include "protocol/commands.h"
#include "protocol/requests.h"
#include "reader/number_text.h"
#include "reader_fixture.h"

namespace zelta::testing {
namespace {

class ManualTest : public ReaderFixture {
 protected:
  void SetUp() override {
    openPort();
    click("Option2");
    clock.advance(100);
    clearFrames();
  }
  QString field(const char* name) { return text(name, window("Form4")); }
};

TEST_F(ManualTest, ValueButtonsAskTheTypedAddressAndCountAMissingAnswerInTimeTheSearchNever) {
  struct Case {
    const char* button;
    int command;
    int answerMs;
  };
  const Case cases[] = {
      {"Command15", cmd::ModuleType, 1000},       {"Command14", cmd::SoftwareRevision, 1000},
      {"Command13", cmd::HardwareRevision, 1000}, {"Command8", cmd::Voltage, 1000},
      {"Command56", cmd::Temperature, 1000},      {"Command12", cmd::Impedance, 2000}};
  type("Text2", "12");
  int missing = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    clearFrames();
    const qint64 t = clock.nowMs();
    click(c.button);
    ASSERT_EQ(frames().size(), 1u);
    EXPECT_EQ(frames()[0].atMs, t);
    EXPECT_EQ(frameAddress(frames()[0].frame), 12);
    EXPECT_EQ(frameCommand(frames()[0].frame), c.command);
    EXPECT_EQ(text("Label21"), "12");
    clock.advance(c.answerMs - 1);
    EXPECT_EQ(text("Label7").toInt(), missing);
    clock.advance(1);
    EXPECT_EQ(text("Label7").toInt(), ++missing);
    clock.advance(3000);
    EXPECT_EQ(frames().size(), 1u);  // no retry, no further step
  }
  // The module search sends set and reset and never counts a missing answer.
  clearFrames();
  type("Text2", "0");
  click("Command23");
  click("Command66");
  clock.advance(5000);
  ASSERT_EQ(frames().size(), 2u);
  EXPECT_EQ(frames()[0].frame, request::moduleSearch(0, SearchAction::StartFlashing));
  EXPECT_EQ(frames()[1].frame, request::moduleSearch(0, SearchAction::StopFlashing));
  EXPECT_EQ(text("Label7").toInt(), missing);
}

// Any text leaves an address from 0 to 340, and each button then sends a
// request to it; every change empties the shown values.
TEST_F(ManualTest, AddressFieldCorrectsEveryTextAndClearsTheShownValues) {
  const std::pair<QString, QString> exact[] = {
      {"-3", "0"}, {"500", "340"}, {"", "1"}, {"abc", "1"}, {"0", "0"}, {"340", "340"}, {"5", "5"}};
  for (const auto& [typed, shown] : exact) {
    type("Text2", typed);
    EXPECT_EQ(text("Text2"), shown) << "typed '" << typed.toStdString() << "'";
  }
  receive(reply(5, cmd::Voltage, 0x01, 0xF4));
  receive(reply(5, cmd::HardwareRevision, 3, 1));
  EXPECT_EQ(field("Text4"), ".500");
  type("Text2", "6");
  for (const char* f : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6"})
    EXPECT_EQ(field(f), "") << f;

  for (const QString& typed : kAwkwardTexts) {
    SCOPED_TRACE("typed '" + typed.left(20).toStdString() + "'");
    type("Text2", typed);
    const auto address = strictNumber(text("Text2"));
    ASSERT_TRUE(address && *address >= 0 && *address <= 340) << text("Text2").left(40).toStdString();
    clearFrames();
    for (const char* button : {"Command15", "Command14", "Command13", "Command8", "Command56",
                               "Command12", "Command23", "Command66"})
      click(button);
    ASSERT_EQ(frames().size(), 8u);
    for (const auto& f : frames()) EXPECT_EQ(frameAddress(f.frame), frameAddress(frames()[0].frame));
    EXPECT_LE(frameAddress(frames()[0].frame), 340);
  }
}

}  // namespace
}  // namespace zelta::testing
