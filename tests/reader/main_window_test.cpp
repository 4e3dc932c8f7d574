// The main window: start-up, the enabled state after each change, opening and
// closing the port, the port number rules, counters, Help and the menus.
#include <map>

#include "reader_fixture.h"

namespace zelta::testing {
namespace {

// 'E' enabled, 'D' disabled, '-' unchanged by that step.
struct Row {
  std::vector<QString> controls;
  std::string states;
};

using States = std::map<QString, bool>;

class MainWindow : public ReaderFixture {
 protected:
  States snapshot(const std::vector<Row>& rows) {
    States s;
    for (const Row& r : rows)
      for (const QString& c : r.controls) s[c] = enabled(c);
    return s;
  }
  void expectColumn(const std::vector<Row>& rows, std::size_t column, const States& before,
                    const char* step) {
    for (const Row& r : rows)
      for (const QString& c : r.controls) {
        const char want = r.states.at(column);
        const bool expected = want == '-' ? before.at(c) : want == 'E';
        EXPECT_EQ(enabled(c), expected) << step << ": " << c.toStdString();
      }
  }
};

const std::vector<QString> kManualButtons = {"Command12", "Command13", "Command14", "Command15",
                                             "Command56"};
const std::vector<QString> kPollRate = {"Label6", "Option3(0)", "Option3(1)", "Option3(2)"};

// Columns: after start-up, after Open, after a failed Open, after Close.
const std::vector<Row> kPortTable = {
    {{"Combo2"}, "EDEE"},
    {{"Command36"}, "EDEE"},
    {{"Command38"}, "DEDD"},
    {{"Option1", "Option2"}, "DEDD"},
    {{"Check7", "Text1", "Label1"}, "DEDD"},
    {{"Label28", "Text8"}, "DEDD"},
    {{"Label36"}, "DEDD"},
    {{"Text45"}, "DE-D"},
    {{"Check1"}, "DE-D"},
    {{"Command16"}, "DE-D"},
    {{"Command17"}, "DD-D"},
    {kPollRate, "DE-D"},
    {{"Label21", "Label37"}, "DEDD"},
    {{"Label2", "Text2"}, "DDDD"},
    {{"Command8"}, "D--D"},
    {kManualButtons, "DD-D"},
    {{"Label31", "Command23", "Command66"}, "DD-D"},
};

// Columns: Scan Mode set-up, Manual Mode set-up, Start, Stop.
const std::vector<Row> kModeTable = {
    {{"Check7"}, "EDDE"},
    {{"Text1", "Label1", "Label28", "Label36"}, "ED--"},
    {{"Text8", "Text45"}, "EDDE"},
    {{"Check1"}, "ED--"},
    {{"Command16"}, "EDDE"},
    {{"Command17"}, "DDED"},
    {kPollRate, "EDDE"},
    {{"Label21", "Label37"}, "ED--"},
    {{"Label2", "Text2"}, "DE--"},
    {{"Command8", "Command12", "Command13", "Command14", "Command15", "Command56"}, "DE--"},
    {{"Label31", "Command23", "Command66"}, "DE--"},
};

TEST_F(MainWindow, StartsClosedInScanModeWithItsCaptionsAndTexts) {
  EXPECT_EQ(form1->windowTitle(), "ZELTA_Reader (Modul Rev. 3.x)");
  EXPECT_EQ(text("Combo2"), "COM1");
  EXPECT_EQ(find<QComboBox>("Combo2")->count(), 30);
  EXPECT_EQ(find<QComboBox>("Combo2")->itemText(29), "COM30");
  const std::map<QString, QString> texts = {{"Text1", "1"},
                                            {"Text2", "1"},
                                            {"Text8", "1"},
                                            {"Text45", "2"},
                                            {"Label21", "0"},
                                            {"Label7", "0"},
                                            {"Label8", "0"},
                                            {"Command36", "Open"},
                                            {"Command16", "Start"},
                                            {"Option3(1)", "Medium"},
                                            {"Label4", "Missing answer"}};
  for (const auto& [name, want] : texts) EXPECT_EQ(text(name), want) << name.toStdString();
  EXPECT_TRUE(find<QRadioButton>("Option1")->isChecked());
  EXPECT_TRUE(find<QRadioButton>("Option3(1)")->isChecked());
  EXPECT_TRUE(find<QCheckBox>("Check1")->isChecked());
  EXPECT_EQ(form1->state().start_adr, "1");
  EXPECT_EQ(form1->state().end_adr, "2");
  EXPECT_EQ(form1->state().opt3, 1);
  EXPECT_EQ(window("Form4"), nullptr);
  EXPECT_TRUE(form1->findChild<QAction*>("rev3_1")->isChecked());
}

TEST_F(MainWindow, EnabledStateAfterStartUpOpenAndClose) {
  expectColumn(kPortTable, 0, {}, "start-up");
  const States startUp = snapshot(kPortTable);
  openPort("COM4");
  EXPECT_EQ(line.openedPort(), 4);
  expectColumn(kPortTable, 1, startUp, "open");
  click("Command38");
  EXPECT_FALSE(line.isOpen());
  expectColumn(kPortTable, 3, {}, "close");
}

TEST_F(MainWindow, FailedOpenShowsTheBoxAndLeavesThePortClosed) {
  line.setAvailablePorts({1});
  const States startUp = snapshot(kPortTable);
  openPort("COM2");
  ASSERT_EQ(boxes.asked().size(), 1u);
  EXPECT_EQ(boxes.asked()[0].text, "Port already open");
  EXPECT_EQ(boxes.asked()[0].title, "ZELTA II");
  EXPECT_EQ(boxes.asked()[0].icon, BoxIcon::Critical);
  EXPECT_FALSE(line.isOpen());
  expectColumn(kPortTable, 2, startUp, "failed open");
}

TEST_F(MainWindow, EnabledStateAfterModeSwitchStartAndStop) {
  openPort();
  click("Option2");
  expectColumn(kModeTable, 1, {}, "manual set-up");
  EXPECT_FALSE(find<QCheckBox>("Check1")->isChecked());
  click("Option1");
  expectColumn(kModeTable, 0, {}, "scan set-up");
  EXPECT_TRUE(find<QCheckBox>("Check1")->isChecked());
  const States scan = snapshot(kModeTable);
  click("Command16");
  expectColumn(kModeTable, 2, scan, "start");
  const States started = snapshot(kModeTable);
  click("Command17");
  expectColumn(kModeTable, 3, started, "stop");
}

TEST_F(MainWindow, PortNumberComesFromTheEndOfThePortName) {
  struct Case {
    const char* what;
    int listClick;          // index clicked in the list first, -1 none
    const char* openFirst;  // a port opened and closed before, or null
    const char* typed;
    int expectedPort;  // 0: the open fails
  };
  const Case cases[] = {
      {"COM10 from the list", 9, nullptr, "COM10", 10},
      {"three letters after clicking COM7", 6, nullptr, "abc", 7},
      {"six letters after opening COM3", -1, "COM3", "COMXYZ", 3},
      {"no number before any click", -1, nullptr, "xyz", 0},
      {"COM0", -1, nullptr, "COM0", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    form1 = std::make_unique<ReaderWindow>(platform);
    form1->show();
    boxes.clearAsked();
    if (c.openFirst) {
      openPort(c.openFirst);
      click("Command38");
    }
    if (c.listClick >= 0) choosePort(c.listClick);
    openPort(c.typed);
    if (c.expectedPort == 0) {
      EXPECT_FALSE(line.isOpen());
      EXPECT_EQ(boxes.asked().size(), 1u);
    } else {
      EXPECT_TRUE(line.isOpen());
      EXPECT_EQ(line.openedPort(), c.expectedPort);
      EXPECT_TRUE(boxes.asked().empty());
    }
    line.close();
  }
}

TEST_F(MainWindow, APortTextStartingWithASlashIsOpenedAsADevice) {
  openPort("/dev/ttyUSB7");
  EXPECT_TRUE(line.isOpen());
  EXPECT_EQ(line.openedDevice(), "/dev/ttyUSB7");
}

TEST_F(MainWindow, CountersWrapAfterAThousandAndResetDoesNotStopTheScan) {
  prepareScan("Medium", 1, 2);
  find<QLabel>("Label7")->setText("1000");
  click("Command16");
  clock.advance(300 + 280);  // first request, no module answers
  EXPECT_EQ(text("Label7"), "0");
  clock.advance(300);
  EXPECT_EQ(text("Label7"), "1");
  click("Command1");
  EXPECT_EQ(text("Label7"), "0");
  EXPECT_EQ(text("Label8"), "0");
  const auto before = frames().size();
  clock.advance(900);
  EXPECT_EQ(frames().size(), before + 3);
}

TEST_F(MainWindow, HelpShowsTheVersionAndModultypIsOneChoice) {
  menu("Help");
  ASSERT_EQ(boxes.asked().size(), 1u);
  EXPECT_EQ(boxes.asked()[0].text, "Version 3.9.9");
  EXPECT_EQ(boxes.asked()[0].title, "ZELTA_Reader");
  EXPECT_EQ(boxes.asked()[0].icon, BoxIcon::None);
  menu("rev3_0");
  EXPECT_TRUE(form1->findChild<QAction*>("rev3_0")->isChecked());
  EXPECT_FALSE(form1->findChild<QAction*>("rev3_1")->isChecked());
}

TEST_F(MainWindow, CloseOfThePortDarkensTheLinesAndStopsTheScanTimers) {
  bus.addModules(2, 1);
  prepareScan("Fast", 1, 2);
  click("Command16");
  clock.advance(320);
  click("Command38");
  const auto sent = frames().size();
  clock.advance(5000);
  EXPECT_EQ(frames().size(), sent);
  EXPECT_EQ(find<Lamp>("TXANZ")->colour(), colour::DarkGreen);
  EXPECT_EQ(find<Lamp>("RXANZ")->colour(), colour::DarkGreen);
}

TEST_F(MainWindow, QuitClosesTheMainWindowAndUnloadsTheOthers) {
  openPort();
  click("Option2");
  menu("Module_Voltage");
  menu("Logging_Options");
  ASSERT_TRUE(window("Form2")->isVisible());
  click("Command28");
  EXPECT_FALSE(form1->isVisible());
  EXPECT_EQ(window("Form2"), nullptr);
  EXPECT_EQ(window("Form4"), nullptr);
  EXPECT_FALSE(window("Log_Options")->isVisible());
}

}  // namespace
}  // namespace zelta::testing
