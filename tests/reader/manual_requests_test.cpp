// Manual Mode: the six value buttons, the module search, the address field
// and the "Module Values" window.
#include "protocol/commands.h"
#include "reader/value_store.h"
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

TEST_F(ManualTest, ValueButtonsAskTheTypedAddressAndCountAMissingAnswerInTime) {
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
}

TEST_F(ManualTest, ModuleSearchSendsSetAndResetAndNeverCountsAMissingAnswer) {
  type("Text2", "0");
  click("Command23");
  click("Command66");
  clock.advance(5000);
  ASSERT_EQ(frames().size(), 2u);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(frameAddress(frames()[i].frame), 0);
    EXPECT_EQ(frameCommand(frames()[i].frame), cmd::ModuleSearch);
    EXPECT_EQ(frames()[i].frame[4], i + 1);
  }
  EXPECT_EQ(text("Label7"), "0");
}

TEST_F(ManualTest, AddressFieldCorrectsItselfAndClearsTheShownValues) {
  struct Case {
    const char* typed;
    const char* shown;
  };
  for (const Case& c : {Case{"-3", "0"}, Case{"500", "340"}, Case{"", "1"}, Case{"abc", "1"},
                        Case{"0", "0"}, Case{"340", "340"}, Case{"7", "7"}}) {
    type("Text2", c.typed);
    EXPECT_EQ(text("Text2"), c.shown) << "typed '" << c.typed << "'";
  }
  type("Text2", "5");
  receive(reply(5, cmd::Voltage, 0x01, 0xF4));
  receive(reply(5, cmd::HardwareRevision, 3, 1));
  EXPECT_EQ(field("Text4"), ".500");
  type("Text2", "6");
  for (const char* f : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6"})
    EXPECT_EQ(field(f), "") << f;
}

TEST_F(ManualTest, RepliesGoToModuleValuesWhateverTheirAddressAndAreNotStored) {
  type("Text2", "5");
  click("Command56");
  receive(reply(9, cmd::Temperature, 120));
  receive(reply(0, cmd::SoftwareRevision, 2, 10, 3));
  receive(reply(400, cmd::Impedance, 0x00, 0x7B));
  receive(reply(5, cmd::ModuleType, 22));
  EXPECT_EQ(field("Text5"), "21");
  EXPECT_EQ(field("Text2"), "2.10.3");
  EXPECT_EQ(field("Text6"), "1.23");
  EXPECT_EQ(field("Text1"), "S13");
  receive(reply(5, cmd::ModuleType, 2));  // no name for code 2
  EXPECT_EQ(field("Text1"), "");
  EXPECT_TRUE(std::holds_alternative<std::monostate>(form1->store().at(ValueKind::Temperature, 8)));
  EXPECT_EQ(cellText("Form3", 8), "Text1");
  EXPECT_EQ(find<Lamp>("Active", window("Form3"))->colour(), colour::Green);
  clock.advance(1000);
  EXPECT_EQ(text("Label7"), "0");
}

TEST_F(ManualTest, ModuleValuesIsShownByTheSetUpAndUnloadedByScanMode) {
  ASSERT_NE(window("Form4"), nullptr);
  EXPECT_TRUE(window("Form4")->isVisible());
  EXPECT_EQ(window("Form4")->windowTitle(), "Module Values");
  click("Option1");
  EXPECT_EQ(window("Form4"), nullptr);
}

TEST_F(ManualTest, ClosingThePortInManualModeKeepsItAndOpenReturnsToScanMode) {
  click("Command38");
  EXPECT_TRUE(find<QRadioButton>("Option2")->isChecked());
  openPort();
  EXPECT_TRUE(find<QRadioButton>("Option1")->isChecked());
  EXPECT_EQ(form1->state().manuell, 0);
  EXPECT_EQ(window("Form4"), nullptr);
  EXPECT_TRUE(enabled("Command16"));
  EXPECT_FALSE(enabled("Command8"));
}

}  // namespace
}  // namespace zelta::testing
