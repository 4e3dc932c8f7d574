// Manual addressing by expert level: the confirmation question, the request,
// the module's confirmation with the beep, the read-back and "New Adress:".
#include <QLabel>
#include <QLineEdit>

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
  click("Command2");
  clock.advance(4000);
  EXPECT_EQ(boxes.asked().size(), c.asks ? 1u : 0u);
  if (c.asks) {
    const BoxRequest& box = boxes.asked()[0];
    EXPECT_EQ(box.text,
              "Please check whether only one module is connected to the bus or module 0 is "
              "present only one times");
    EXPECT_EQ(box.title, "Manual Addressing");
    EXPECT_EQ(box.icon, BoxIcon::None);
    EXPECT_EQ(box.buttons, BoxButtons::YesNo);
  }
  EXPECT_EQ(title(), QStringList({"Set Modul 0", "to Address 1"}));
  ASSERT_EQ(sent().size(), 2u);
  EXPECT_EQ(sent()[1], (Sent{4000, request::setAddress(0, 1)}));
  EXPECT_TRUE(timer(c.readBackTimer).isEnabled());

  clock.advance(100);  // the module confirms from its new address
  EXPECT_EQ(title(), QStringList({"Set Modul 0", "to 1 successful"}));
  ASSERT_EQ(tone.played().size(), 1u);
  EXPECT_EQ(bus.module(0).address, 1);

  clock.advanceTo(5500);
  ASSERT_EQ(sent().size(), 3u);
  EXPECT_EQ(sent()[2], (Sent{5500, request::collective(1)}));
  clock.advance(100);
  EXPECT_EQ(text("Text1"), c.newAddressAfter);
  EXPECT_EQ(form3("Label7"), "1");
  EXPECT_EQ(form3("Text1"), "13.124");
  EXPECT_EQ(topLevel("Form2")->findChild<QLineEdit*>("Text2")->text(), "21");
  if (c.impedanceRequest) {
    ASSERT_EQ(sent().size(), 4u);
    EXPECT_EQ(sent()[3].frame, request::programmerImpedance(1));
    EXPECT_EQ(form3("Text4"), "3.5");
  } else {
    EXPECT_EQ(sent().size(), 3u);
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
  prepare("", 0, "0", "1");
  boxes.queueAnswer(BoxAnswer::No);
  click("Command2");
  clock.advance(10000);
  EXPECT_EQ(boxes.asked().size(), 1u) << "asked once, not again";
  EXPECT_EQ(sent().size(), 1u);
  EXPECT_EQ(title(), QStringList({"Wake up", "Module"}));
}

TEST_F(ManualAddressing, SetToZeroIsConfirmedFromAddressZero) {
  prepare("-e", 5, "5", "0");
  click("Command2");
  clock.advance(4000);
  EXPECT_EQ(sent()[1].frame, request::setAddress(5, 0));
  clock.advance(100);
  EXPECT_EQ(title(), QStringList({"Set Modul 5", "to 0 successful"}));
  EXPECT_EQ(tone.played().size(), 1u);
  EXPECT_TRUE(timer(5).isEnabled());
  EXPECT_EQ(bus.module(0).address, 0);
}

TEST_F(ManualAddressing, ValueFieldsAreEmptiedAndNoticesHiddenBeforeTheRun) {
  prepare("-se", 0, "0", "0");
  inject(replyFrame(9, cmd::Collective, 120, 0x33, 0x44, 0, 0x20, 0));
  QWidget* form3 = topLevel("Form3");
  ASSERT_EQ(form3->findChild<QLabel*>("Label7")->text(), "9");
  ASSERT_TRUE(form3->findChild<QLabel*>("Label10")->isVisibleTo(form3));
  ASSERT_TRUE(form3->findChild<QLabel*>("Label12")->isVisibleTo(form3));
  click("Command2");
  EXPECT_FALSE(form3->findChild<QLabel*>("Label10")->isVisibleTo(form3));
  EXPECT_FALSE(form3->findChild<QLabel*>("Label12")->isVisibleTo(form3));
  EXPECT_EQ(form3->findChild<QLabel*>("Label7")->text(), "9");
  clock.advance(4000);
  for (const char* name : {"Text1", "Text2", "Text3", "Text4"})
    EXPECT_EQ(form3->findChild<QLineEdit*>(name)->text(), "") << name;
  EXPECT_EQ(form3->findChild<QLabel*>("Label7")->text(), "");
  EXPECT_EQ(topLevel("Form2")->findChild<QLineEdit*>("Text1")->text(), "");
}

TEST_F(ManualAddressing, AddressMadeUnusableDuringTheWaitSendsNothing) {
  prepare("-e", 0, "0", "1");
  click("Command2");
  setText("Text1", "65536");
  clock.advance(10000);
  EXPECT_EQ(sent().size(), 1u);
  EXPECT_TRUE(boxes.asked().empty());
}

TEST_F(ManualAddressing, ReadBackGoesOutWithoutAConfirmation) {
  prepare("-e", 3, "3", "4");
  bus.module(0).address = 8;  // nobody at 3
  click("Command2");
  clock.advance(6000);
  ASSERT_EQ(sent().size(), 3u);
  EXPECT_EQ(sent()[2], (Sent{5500, request::collective(4)}));
  EXPECT_EQ(title(), QStringList({"Set Modul 3", "to Address 4"}));
  EXPECT_TRUE(tone.played().empty());
}

}  // namespace
}  // namespace zelta::test
