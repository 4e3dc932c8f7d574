// The module value windows: a collective reply with both revision rules, the
// impedance reply, "New Adress:" after a reply, and "Save" to test.csv.
#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTemporaryDir>

#include "protocol/commands.h"
#include "tests/programmer/programmer_fixture.h"

namespace zelta::test {
namespace {

class ValueWindows : public ProgrammerFixture {
 protected:
  QWidget* form(const char* name) const {
    QWidget* w = topLevel(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QString field(const char* window, const char* name) const {
    return form(window)->findChild<QWidget*>(name)->property("text").toString();
  }
  bool shown(const char* name) const {
    QWidget* f = form("Form3");
    return f->findChild<QWidget*>(name)->isVisibleTo(f);
  }
  void collective(std::uint8_t status, std::uint8_t error = 0) {
    inject(replyFrame(3, cmd::Collective, 120, 0x33, 0x44, 0, status, error));
  }
};

struct StatusCase {
  std::uint8_t status;
  std::uint8_t error;
  bool rev31;
  const char* verdict;
  const char* notice;  // nullptr: hidden
  bool externalSensor;
};

class CollectiveReply : public ValueWindows, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(CollectiveReply, FillsBothWindowsWithTheVerdict) {
  const StatusCase& c = GetParam();
  start("-se");
  if (c.rev31) form("Form3")->findChild<QAction*>("Rev31")->trigger();
  collective(c.status, c.error);
  for (const char* window : {"Form2", "Form3"}) {
    EXPECT_EQ(field(window, "Label7"), "3") << window;
    EXPECT_EQ(field(window, "Text2"), "21") << window;
    EXPECT_EQ(field(window, "Text1"), "13.124") << window;
    EXPECT_EQ(field(window, "Text3"), c.verdict) << window;
  }
  EXPECT_EQ(shown("Label12"), c.notice != nullptr);
  if (c.notice) {
    EXPECT_EQ(field("Form3", "Label12"), c.notice);
  }
  EXPECT_EQ(shown("Label10"), c.externalSensor);
  EXPECT_FALSE(form("Form2")->isVisible()) << "written while not shown: made hidden";
}

INSTANTIATE_TEST_SUITE_P(
    Status, CollectiveReply,
    ::testing::Values(StatusCase{0x10, 0, false, "Ok", nullptr, false},
                      StatusCase{0x11, 0, false, "Ok", nullptr, false},
                      StatusCase{0x00, 0, false, "Error", "Modul is not calibrated", false},
                      StatusCase{0x30, 0, false, "Ok", nullptr, true},
                      StatusCase{0x12, 0, false, "Error", nullptr, false},
                      StatusCase{0x90, 0, false, "Error", nullptr, false},
                      StatusCase{0x10, 1, false, "Error", nullptr, false},
                      StatusCase{0x10, 0, true, "Error", "Check Modul revision", false},
                      StatusCase{0x00, 0, true, "Ok", nullptr, false},
                      StatusCase{0x21, 0, true, "Ok", nullptr, true},
                      StatusCase{0x40, 0, true, "Error", nullptr, false},
                      StatusCase{0x00, 7, true, "Error", nullptr, false}));

struct AdvanceCase {
  const char* arguments;
  const char* before;
  const char* after;
};

class NewAddressAfterReply : public ValueWindows,
                             public ::testing::WithParamInterface<AdvanceCase> {};

TEST_P(NewAddressAfterReply, MovesOnByOneBelowLevelTwo) {
  const AdvanceCase& c = GetParam();
  startOpen(QString::fromLatin1(c.arguments));
  setText("Text1", c.before);
  collective(0x10);
  EXPECT_EQ(text("Text1"), c.after);
}

INSTANTIATE_TEST_SUITE_P(Levels, NewAddressAfterReply,
                         ::testing::Values(AdvanceCase{"", "5", "6"}, AdvanceCase{"-e", "5", "6"},
                                           AdvanceCase{"", "abc", "abc"},
                                           AdvanceCase{"-se", "5", "5"}));

TEST_F(ValueWindows, LevelTwoAsksForTheImpedanceAndShowsIt) {
  startOpen("-se");
  setText("Text1", "12");
  collective(0x10);
  ASSERT_EQ(sent().size(), 1u);
  EXPECT_EQ(sent()[0].frame, request::programmerImpedance(12));
  inject(replyFrame(12, cmd::Impedance, 0x00, 0x7B));
  EXPECT_EQ(field("Form3", "Text4"), "1.23");
}

TEST_F(ValueWindows, QuitDropsTheWindowAndItsRevisionMark) {
  start("-se");
  form("Form3")->findChild<QAction*>("Rev31")->trigger();
  collective(0x10);
  form("Form3")->findChild<QAbstractButton*>("Command28")->click();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(topLevel("Form3"), nullptr);
  collective(0x10);  // made afresh, hidden, without the mark
  EXPECT_EQ(field("Form3", "Text3"), "Ok");
  EXPECT_FALSE(form("Form3")->findChild<QAction*>("Rev31")->isChecked());
  EXPECT_FALSE(form("Form3")->isVisible());
}

class SaveReading : public ValueWindows {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    environment.current = folder.path();
    start("-se");
    collective(0x10);
    inject(replyFrame(3, cmd::Impedance, 0x01, 0x2C));
    form("Form3")->findChild<QLineEdit*>("Text5")->setText("A17");
  }
  void save() { form("Form3")->findChild<QAbstractButton*>("Command1")->click(); }
  QString csvPath() const { return QDir(folder.path()).filePath("test.csv"); }

  QTemporaryDir folder;
};

TEST_F(SaveReading, EachSaveAppendsOneLine) {
  save();
  save();
  QFile file(csvPath());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString date = QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
  const QByteArray line = QStringLiteral("A17;%1;13.124;21;3\r\n").arg(date).toLocal8Bit();
  EXPECT_EQ(file.readAll(), line + line);
  EXPECT_TRUE(boxes.asked().empty());
}

TEST_F(SaveReading, UnwritableFileIsReportedAndTheReadingStays) {
  ASSERT_TRUE(QDir(folder.path()).mkdir("test.csv"));  // a folder where the file should be
  save();
  ASSERT_EQ(boxes.asked().size(), 1u);
  const BoxRequest& box = boxes.asked()[0];
  EXPECT_TRUE(box.text.contains("test.csv")) << box.text.toStdString();
  EXPECT_TRUE(box.text.contains("could not be saved")) << box.text.toStdString();
  EXPECT_EQ(box.icon, BoxIcon::Critical);
  EXPECT_EQ(field("Form3", "Text1"), "13.124");
  EXPECT_EQ(field("Form3", "Text5"), "A17");

  ASSERT_TRUE(QDir(folder.path()).rmdir("test.csv"));
  save();  // the same reading, saved once the file can be written
  QFile file(csvPath());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().startsWith("A17;"));
}

}  // namespace
}  // namespace zelta::test
