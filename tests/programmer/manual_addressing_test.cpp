// Manual addressing by expert level (question, request, confirmation, beep,
// read-back), and the value windows: the collective reply under both
// revision rules and "Save" to test.csv.
#include <QAction>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

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
    type("Text4", current);
    type("Text1", next);
    click("Command2");
  }
  QString field(const char* window, const char* name) const {
    return text(name, topLevel(window));
  }
  bool shown(const char* name) const {
    QWidget* f = topLevel("Form3");
    return f->findChild<QWidget*>(name)->isVisibleTo(f);
  }
  void collective(std::uint8_t status, std::uint8_t error = 0) {
    inject(reply(3, cmd::Collective, 120, 0x33, 0x44, 0, status, error));
  }
};

struct LevelCase {
  const char* arguments;
  bool asks;
  const char* newAddressAfter;
  bool impedanceRequest;  // level 2 asks for the impedance after the read-back
};

void PrintTo(const LevelCase& c, std::ostream* os) { *os << "arguments '" << c.arguments << "'"; }

class ManualByLevel : public ManualAddressing, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(ManualByLevel, ModuleZeroBecomesOneAndIsReadBack) {
  const LevelCase& c = GetParam();
  prepare(QString::fromLatin1(c.arguments), 0, "0", "1");
  clock.advance(4000);
  ASSERT_EQ(boxes.asked().size(), c.asks ? 1u : 0u);
  if (c.asks) {
    EXPECT_EQ(boxes.asked()[0].title, "Manual Addressing");
    EXPECT_EQ(boxes.asked()[0].defaultButton, BoxAnswer::No);
  }
  EXPECT_EQ(title(), QStringList({"Set Modul 0", "to Address 1"}));
  ASSERT_EQ(sent().size(), 2u);
  EXPECT_EQ(sent()[1], (Sent{4000, request::setAddress(0, 1)}));

  clock.advance(100);  // the module confirms from its new address
  EXPECT_EQ(title(), QStringList({"Set Modul 0", "to 1 successful"}));
  EXPECT_EQ(tone.played().size(), 1u);
  EXPECT_EQ(bus.module(0).address, 1);

  clock.advanceTo(5600);
  ASSERT_GE(sent().size(), 3u);
  EXPECT_EQ(sent()[2], (Sent{5500, request::collective(1)}));
  EXPECT_EQ(text("Text1"), c.newAddressAfter);
  EXPECT_EQ(field("Form3", "Label7"), "1");
  EXPECT_EQ(field("Form3", "Text1"), "13.124");
  EXPECT_EQ(sent().size(), c.impedanceRequest ? 4u : 3u);
  if (c.impedanceRequest) {
    EXPECT_EQ(sent()[3].frame, request::programmerImpedance(1));
    EXPECT_EQ(field("Form3", "Text4"), "3.5");
  }
  // The read-back's answer leaves the title lines alone; Timer5 restores them.
  EXPECT_EQ(title(), QStringList({"Set Modul 0", "to 1 successful"}));
  clock.advanceTo(9100);
  EXPECT_EQ(title(), QStringList({"KESTRIN ZELTA II", "Programmer"}));
}

INSTANTIATE_TEST_SUITE_P(Levels, ManualByLevel,
                         ::testing::Values(LevelCase{"", true, "2", false},
                                           LevelCase{"-e", false, "2", false},
                                           LevelCase{"-se", false, "1", true}),
                         [](const auto& info) { return "Level" + std::to_string(info.index); });

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

TEST_F(ManualAddressing, CollectiveReplyFillsBothWindowsWithTheVerdict) {
  struct Case {
    std::uint8_t status, error;
    bool rev31;
    const char* verdict;
    const char* notice;  // nullptr: hidden
    bool externalSensor;
  };
  const Case cases[] = {
      // older modules: bit 0x10 must be set, bit 0 is ignored
      {0x11, 0, false, "Ok", nullptr, false},   {0x30, 0, false, "Ok", nullptr, true},
      {0x00, 0, false, "Error", "Modul is not calibrated", false},
      {0x20, 0, false, "Error", "Modul is not calibrated", true},
      {0x12, 0, false, "Error", nullptr, false}, {0x90, 0, false, "Error", nullptr, false},
      {0x10, 1, false, "Error", nullptr, false},
      // revision 3.1: bit 0x10 must be clear
      {0x10, 0, true, "Error", "Check Modul revision", false},
      {0x00, 0, true, "Ok", nullptr, false},    {0x21, 0, true, "Ok", nullptr, true},
      {0x40, 0, true, "Error", nullptr, false}, {0x80, 0, true, "Error", nullptr, false},
      {0x00, 7, true, "Error", nullptr, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "status " << int(c.status) << " error " << int(c.error)
                                    << (c.rev31 ? " rev 3.1" : ""));
    start("-se");
    if (c.rev31) topLevel("Form3")->findChild<QAction*>("Rev31")->trigger();
    collective(c.status, c.error);
    for (const char* window : {"Form2", "Form3"}) {
      EXPECT_EQ(field(window, "Label7"), "3") << window;
      EXPECT_EQ(field(window, "Text2"), "21") << window;
      EXPECT_EQ(field(window, "Text1"), "13.124") << window;
      EXPECT_EQ(field(window, "Text3"), c.verdict) << window;
    }
    EXPECT_EQ(shown("Label12"), c.notice != nullptr);
    if (c.notice) { EXPECT_EQ(field("Form3", "Label12"), c.notice); }
    EXPECT_EQ(shown("Label10"), c.externalSensor);
  }
}

TEST_F(ManualAddressing, EachSaveAppendsOneLineAndAFailureIsReported) {
  QTemporaryDir folder;
  environment.current = folder.path();
  start("-se");
  QWidget* form3 = topLevel("Form3");
  collective(0x10);
  inject(reply(3, cmd::Impedance, 0x01, 0x2C));
  type("Text5", "A17", form3);
  click("Command1", form3);  // "Save", twice
  click("Command1", form3);
  const QString path = QDir(folder.path()).filePath("test.csv");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString date = QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
  const QByteArray line = QStringLiteral("A17;%1;13.124;21;3\r\n").arg(date).toLocal8Bit();
  EXPECT_EQ(file.readAll(), line + line);
  EXPECT_TRUE(boxes.asked().empty());
  EXPECT_EQ(text("SavedTo", form3), "Saved to " + QDir::toNativeSeparators(path));
  file.close();
  ASSERT_TRUE(QFile::remove(path) && QDir(folder.path()).mkdir("test.csv"));  // a folder in its place
  click("Command1", form3);
  ASSERT_EQ(boxes.asked().size(), 1u);
  EXPECT_TRUE(boxes.asked()[0].text.contains("could not be saved"));
  EXPECT_EQ((QStringList{text("Text1", form3), text("Text5", form3), text("SavedTo", form3)}),
            QStringList({"13.124", "A17", ""}));
}

}  // namespace
}  // namespace zelta::test
