// The main window: the enabled state after start-up, Open, a failed Open and
// Close, Close stopping a scan, and the port number rules.
#include "reader_fixture.h"

namespace zelta::testing {
namespace {

// Columns: after start-up, after Open, after a failed Open, after Close.
// 'E' enabled, 'D' disabled, '-' as at start-up.
const std::vector<std::pair<std::vector<QString>, std::string>> kPortTable = {
    {{"Combo2", "Command36"}, "EDEE"},
    {{"Command38", "Option1", "Option2", "Check7", "Text1", "Label1"}, "DEDD"},
    {{"Label28", "Text8", "Label36", "Label21", "Label37"}, "DEDD"},
    {{"Text45", "Check1", "Command16", "Label6", "Option3(0)", "Option3(1)", "Option3(2)"}, "DE-D"},
    {{"Command17"}, "DD-D"},
    {{"Label2", "Text2"}, "DDDD"},
    {{"Command8"}, "D--D"},
    {{"Command12", "Command13", "Command14", "Command15", "Command56"}, "DD-D"},
    {{"Label31", "Command23", "Command66"}, "DD-D"},
};

class MainWindow : public ReaderFixture {
 protected:
  void expectColumn(std::size_t column, const char* step) {
    for (const auto& [controls, states] : kPortTable)
      for (const QString& c : controls) {
        const char want = states[column] == '-' ? states[0] : states[column];
        EXPECT_EQ(enabled(c), want == 'E') << step << ": " << c.toStdString();
      }
  }
};

TEST_F(MainWindow, EnabledStateAfterStartUpOpenAndCloseAndCloseStopsTheScan) {
  expectColumn(0, "start-up");
  openPort("COM4");
  EXPECT_EQ(line.openedPort(), 4);
  expectColumn(1, "open");
  bus.addModules(2, 1);
  click("Option3(0)");
  click("Command16");
  clock.advance(320);
  click("Command38");  // mid-scan: no more requests, the line lamps go dark
  EXPECT_FALSE(line.isOpen());
  expectColumn(3, "close");
  const auto sent = frames().size();
  clock.advance(5000);
  EXPECT_EQ(frames().size(), sent);
  EXPECT_EQ(find<Lamp>("TXANZ")->colour(), colour::DarkGreen);
  EXPECT_EQ(find<Lamp>("RXANZ")->colour(), colour::DarkGreen);
}

TEST_F(MainWindow, FailedOpenShowsTheBoxAndLeavesThePortClosed) {
  line.setAvailablePorts({1});
  openPort("COM2");
  ASSERT_EQ(boxes.asked().size(), 1u);
  EXPECT_EQ(boxes.asked()[0].text, "Port already open");
  EXPECT_EQ(boxes.asked()[0].icon, BoxIcon::Critical);
  EXPECT_FALSE(line.isOpen());
  expectColumn(2, "failed open");
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
    EXPECT_EQ(line.isOpen(), c.expectedPort != 0);
    EXPECT_EQ(boxes.asked().size(), c.expectedPort == 0 ? 1u : 0u);
    if (c.expectedPort != 0) {
      EXPECT_EQ(line.openedPort(), c.expectedPort);
    }
    line.close();
  }
}

}  // namespace
}  // namespace zelta::testing
