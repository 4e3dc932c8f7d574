// Manual addressing by expert level: the confirmation question, the request,
// the module's confirmation with the beep, the read-back and "New Adress:".
#include "protocol/commands.h"
#include "tests/programmer/programmer_fixture.h"

namespace zelta::test {
namespace {

class ManualAddressing : public ProgrammerFixture {
 protected:
  // A module at `from`, the window open in Manual Mode with the two fields set.
  void prepare(const QString& arguments, std::uint16_t from, const char* current,
               const char* next) {
    ModuleState m;
    m.address = from;
    m.temperatureByte = 120;
    m.millivolts = 13124;
    bus.addModule(m);
    startOpen(arguments);
    click("Option2");
    setText("Text4", current);
    setText("Text1", next);
    click("Command2");
  }
  QString form3(const char* name) const {
    return topLevel("Form3")->findChild<QWidget*>(name)->property("text").toString();
  }
};

struct LevelCase {
  const char* arguments;
  bool asks;
  int readBackTimer;
  const char* newAddressAfter;
  bool impedanceRequest;
};

class ManualByLevel : public ManualAddressing, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(ManualByLevel, ModuleZeroBecomesOneAndIsReadBack) {
  const LevelCase& c = GetParam();
  prepare(QString::fromLatin1(c.arguments), 0, "0", "1");
  clock.advance(4000);
  ASSERT_EQ(boxes.asked().size(), c.asks ? 1u : 0u);
  if (c.asks) { EXPECT_EQ(boxes.asked()[0].title, "Manual Addressing"); }
  EXPECT_EQ(title(), QStringList({"Set Modul 0", "to Address 1"}));
  ASSERT_EQ(sent().size(), 2u);
  EXPECT_EQ(sent()[1], (Sent{4000, request::setAddress(0, 1)}));
  EXPECT_TRUE(timer(c.readBackTimer).isEnabled());

  clock.advance(100);  // the module confirms from its new address
  EXPECT_EQ(title(), QStringList({"Set Modul 0", "to 1 successful"}));
  EXPECT_EQ(tone.played().size(), 1u);
  EXPECT_EQ(bus.module(0).address, 1);

  clock.advanceTo(5600);
  ASSERT_GE(sent().size(), 3u);
  EXPECT_EQ(sent()[2], (Sent{5500, request::collective(1)}));
  EXPECT_EQ(text("Text1"), c.newAddressAfter);
  EXPECT_EQ(form3("Label7"), "1");
  EXPECT_EQ(form3("Text1"), "13.124");
  EXPECT_EQ(sent().size(), c.impedanceRequest ? 4u : 3u);
  if (c.impedanceRequest) {
    EXPECT_EQ(sent()[3].frame, request::programmerImpedance(1));
    EXPECT_EQ(form3("Text4"), "3.5");
  }
  // The read-back's answer leaves the title lines alone; Timer5 restores them.
  EXPECT_EQ(title(), QStringList({"Set Modul 0", "to 1 successful"}));
  clock.advanceTo(9100);
  EXPECT_EQ(title(), QStringList({"KESTRIN ZELTA II", "Programmer"}));
}

INSTANTIATE_TEST_SUITE_P(Levels, ManualByLevel,
                         ::testing::Values(LevelCase{"", true, 10, "2", false},
                                           LevelCase{"-e", false, 10, "2", false},
                                           LevelCase{"-se", false, 17, "1", true}));

TEST_F(ManualAddressing, AnsweredNoSendsNothingAndLeavesTheWakeUpTitle) {
  boxes.queueAnswer(BoxAnswer::No);
  prepare("", 0, "0", "1");
  clock.advance(10000);
  EXPECT_EQ(boxes.asked().size(), 1u) << "asked once, not again";
  EXPECT_EQ(sent().size(), 1u);
  EXPECT_EQ(title(), QStringList({"Wake up", "Module"}));
}

TEST_F(ManualAddressing, SetToZeroIsConfirmedFromAddressZero) {
  prepare("-e", 5, "5", "0");
  clock.advance(4100);
  EXPECT_EQ(sent()[1].frame, request::setAddress(5, 0));
  EXPECT_EQ(title(), QStringList({"Set Modul 5", "to 0 successful"}));
  EXPECT_EQ(tone.played().size(), 1u);
  EXPECT_EQ(bus.module(0).address, 0);
}

}  // namespace
}  // namespace zelta::test
