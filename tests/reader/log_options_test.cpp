// The "Logging Options" window: what the menu entry fills in, Browse with
// the folder chooser (chosen, cancelled, failed), Default, Ok and Cancel.
#include "reader_fixture.h"

namespace zelta::testing {
namespace {

class LogOptions : public ReaderFixture {
 protected:
  LogOptions() {
    environment.home = "/home/tech";
    environment.documents = "/home/tech/Documents";
    menu("Logging_Options");
    o = window("Log_Options");
  }
  QString files0() { return form1->logger().logFiles()[0]; }
  QWidget* o = nullptr;
};

TEST_F(LogOptions, FirstOpeningNamesTheFilesInTheHomeFolderWithLoggingOff) {
  ASSERT_NE(o, nullptr);
  EXPECT_TRUE(o->isVisible());
  EXPECT_EQ(o->windowTitle(), "Logging Options");
  EXPECT_EQ(text("T_LogDir", o), "/home/tech");
  EXPECT_EQ(text("T_delim", o), ";");
  EXPECT_FALSE(find<QCheckBox>("Check1", o)->isChecked());
  EXPECT_EQ(files0(), "/home/tech/ZELTA_Reader_Voltages.csv");
  EXPECT_FALSE(form1->logger().loggingActive());
  for (const char* name : {"Label1", "T_LogDir", "B_Browse", "B_Default", "Label2", "T_delim"})
    EXPECT_FALSE(find(name, o)->isEnabled()) << name;
  for (const char* name : {"Check1", "B_Apply", "B_Cancel"})
    EXPECT_TRUE(find(name, o)->isEnabled());
  click("Check1", o);
  EXPECT_TRUE(find("B_Browse", o)->isEnabled());
}

TEST_F(LogOptions, BrowseTakesTheChosenFolderAtOnceAndKeepsItOnFailure) {
  click("Check1", o);
  type("T_LogDir", "", o);
  folders.queue({FolderChoice::Outcome::Chosen, "/data/logs/"});
  click("B_Browse", o);
  ASSERT_EQ(folders.asked().size(), 1u);
  EXPECT_EQ(folders.asked()[0].title, "Choose a directory for the log files");
  EXPECT_EQ(folders.asked()[0].startDir, "/home/tech/Documents");
  EXPECT_EQ(text("T_LogDir", o), "/data/logs");
  EXPECT_EQ(files0(), "/data/logs/ZELTA_Reader_Voltages.csv");

  folders.queue({FolderChoice::Outcome::Failed, {}});
  click("B_Browse", o);
  EXPECT_EQ(folders.asked()[1].startDir, "/data/logs");
  EXPECT_EQ(text("T_LogDir", o), "/data/logs");
  EXPECT_EQ(form1->logger().logDir(), "/data/logs");

  type("T_LogDir", "/typed", o);
  folders.queue({FolderChoice::Outcome::Cancelled, {}});
  click("B_Browse", o);
  EXPECT_EQ(form1->logger().logDir(), "/typed");
}

TEST_F(LogOptions, OkTakesTheSettingsCancelDropsEditsAndDefaultActsAtOnce) {
  click("Check1", o);
  type("T_LogDir", "/var/log/zelta", o);
  type("T_delim", "", o);
  click("B_Apply", o);
  EXPECT_FALSE(o->isVisible());
  EXPECT_TRUE(form1->logger().loggingActive());
  EXPECT_EQ(form1->logger().delimiter(), ";");
  EXPECT_EQ(files0(), "/var/log/zelta/ZELTA_Reader_Voltages.csv");
  menu("Logging_Options");
  EXPECT_TRUE(find<QCheckBox>("Check1", o)->isChecked());
  EXPECT_EQ(text("T_LogDir", o), "/var/log/zelta");
  click("B_Default", o);
  type("T_delim", "|", o);
  click("B_Cancel", o);
  EXPECT_FALSE(o->isVisible());
  EXPECT_EQ(form1->logger().logDir(), "/home/tech");
  EXPECT_EQ(form1->logger().delimiter(), ";");
}

}  // namespace
}  // namespace zelta::testing
