// The module value windows: a collective reply with both revision rules and
// "Save" to test.csv.
#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QTemporaryDir>

#include "protocol/commands.h"
#include "tests/programmer/programmer_fixture.h"

namespace zelta::test {
namespace {

class ValueWindows : public ProgrammerFixture {
 protected:
  QString field(const char* window, const char* name) const {
    return topLevel(window)->findChild<QWidget*>(name)->property("text").toString();
  }
  bool shown(const char* name) const {
    QWidget* f = topLevel("Form3");
    return f->findChild<QWidget*>(name)->isVisibleTo(f);
  }
  void collective(std::uint8_t status, std::uint8_t error = 0) {
    inject(replyFrame(3, cmd::Collective, 120, 0x33, 0x44, 0, status, error));
  }
};

TEST_F(ValueWindows, CollectiveReplyFillsBothWindowsWithTheVerdict) {
  struct Case {
    std::uint8_t status, error;
    bool rev31;
    const char* verdict;
    const char* notice;  // nullptr: hidden
    bool externalSensor;
  };
  const Case cases[] = {
      {0x11, 0, false, "Ok", nullptr, false},  // bit 0 ignored
      {0x00, 0, false, "Error", "Modul is not calibrated", false},
      {0x30, 0, false, "Ok", nullptr, true},  {0x12, 0, false, "Error", nullptr, false},
      {0x10, 1, false, "Error", nullptr, false},
      {0x10, 0, true, "Error", "Check Modul revision", false},
      {0x00, 0, true, "Ok", nullptr, false},  {0x21, 0, true, "Ok", nullptr, true},
      {0x40, 0, true, "Error", nullptr, false}, {0x00, 7, true, "Error", nullptr, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "status " << int(c.status) << " error " << int(c.error)
                                    << (c.rev31 ? " rev 3.1" : ""));
    window.reset();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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

class SaveReading : public ValueWindows {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    environment.current = folder.path();
    start("-se");
    collective(0x10);
    inject(replyFrame(3, cmd::Impedance, 0x01, 0x2C));
    topLevel("Form3")->findChild<QLineEdit*>("Text5")->setText("A17");
  }
  void save() { topLevel("Form3")->findChild<QAbstractButton*>("Command1")->click(); }
  QTemporaryDir folder;
};

TEST_F(SaveReading, EachSaveAppendsOneLine) {
  save();
  save();
  QFile file(QDir(folder.path()).filePath("test.csv"));
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
  EXPECT_TRUE(boxes.asked()[0].text.contains("could not be saved"));
  EXPECT_EQ(field("Form3", "Text1"), "13.124");
  EXPECT_EQ(field("Form3", "Text5"), "A17");
}

}  // namespace
}  // namespace zelta::test
