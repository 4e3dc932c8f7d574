// The main window: the enabled state of every control through start-up, a
// failed Open, Open, Start, Stop, the two modes and Close; Close stopping a
// scan; the port number rules; the counters.
#include "protocol/commands.h"
#include "reader_fixture.h"

namespace zelta::testing {
namespace {

// Columns in the order of the walk: start-up, failed Open, Open, Start, Stop,
// Manual Mode, Scan Mode, Close. 'E' enabled, 'D' disabled, '-' unchanged.
const std::pair<std::vector<QString>, std::string> kEnabled[] = {
    {{"Combo2", "Command36"}, "EED----E"},
    {{"Command38", "Option1", "Option2"}, "DDE----D"},
    {{"Check7", "Text8"}, "DDEDEDED"},
    {{"Text1", "Label1", "Label28", "Label36", "Label21", "Label37"}, "DDE--DED"},
    {{"Text45", "Command16", "Label6", "Option3(0)", "Option3(1)", "Option3(2)"}, "D-EDEDED"},
    {{"Check1"}, "D-E--DED"},
    {{"Command17"}, "D-DEDDDD"},
    {{"Label2", "Text2"}, "DDD--EDD"},
    {{"Command8"}, "D----EDD"},
    {{"Command12", "Command13", "Command14", "Command15", "Command56"}, "D-D--EDD"},
    {{"Label31", "Command23", "Command66"}, "D-D--EDD"},
};

class MainWindow : public ReaderFixture {
 protected:
  void expectColumn(std::size_t column, const char* step) {
    for (const auto& [controls, states] : kEnabled) {
      std::size_t at = column;
      while (states[at] == '-') --at;
      for (const QString& c : controls)
        EXPECT_EQ(enabled(c), states[at] == 'E') << step << ": " << c.toStdString();
    }
  }
};

TEST_F(MainWindow, EnabledStateThroughEveryChangeAndCloseStopsTheScan) {
  expectColumn(0, "start-up");
  line.setAvailablePorts({4});
  openPort("COM2");
  ASSERT_EQ(boxes.asked().size(), 1u);
  EXPECT_EQ(boxes.asked()[0].text, "Port already open");
  EXPECT_EQ(boxes.asked()[0].title, "ZELTA II");
  EXPECT_EQ(boxes.asked()[0].icon, BoxIcon::Critical);
  EXPECT_FALSE(line.isOpen());
  expectColumn(1, "failed open");
  openPort("COM4");
  EXPECT_EQ(line.openedPort(), 4);
  expectColumn(2, "open");
  click("Command16");
  expectColumn(3, "start");
  click("Command17");
  expectColumn(4, "stop");
  click("Option2");
  expectColumn(5, "manual mode");
  EXPECT_FALSE(find<QCheckBox>("Check1")->isChecked());
  click("Option1");
  expectColumn(6, "scan mode");
  EXPECT_TRUE(find<QCheckBox>("Check1")->isChecked());

  bus.addModules(2, 1);
  click("Option3(0)");
  click("Command16");
  clock.advance(320);
  click("Command38");  // mid-scan: no more requests, the line lamps go dark
  EXPECT_FALSE(line.isOpen());
  expectColumn(7, "close");
  const auto sent = frames().size();
  clock.advance(5000);
  EXPECT_EQ(frames().size(), sent);
  EXPECT_EQ(find<Lamp>("TXANZ")->colour(), colour::DarkGreen);
  EXPECT_EQ(find<Lamp>("RXANZ")->colour(), colour::DarkGreen);
}

// One window: a port number, once taken from a name, stays for the names it
// cannot be taken from (other lengths than 4 and 5).
TEST_F(MainWindow, PortNumberComesFromTheEndOfThePortName) {
  struct Case {
    int listClick;  // index clicked in the list first, -1 none
    QString typed;
    int port;  // 0: the open fails
  };
  const Case cases[] = {
      {-1, "xyz", 0},   {-1, "", 0},          {-1, "ABCD", 0},    {-1, "COM0", 0},
      {-1, "COM-1", 0}, {-1, "COM.5", 0},     {-1, QString::fromUtf8("COM\uff15"), 0},
      {-1, "COM999", 0}, {-1, "COM" + QString(5000, '1'), 0},     {6, "abc", 7},
      {9, "COM10", 10}, {-1, "COM 5", 5},     {-1, "COMXYZ", 5},
      {-1, QString::fromUtf8("\uff23\uff2f\uff2d7"), 7},          {-1, "COM12", 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("port name '" + c.typed.left(20).toStdString() + "'");
    boxes.clearAsked();
    if (c.listClick >= 0) choosePort(c.listClick);
    openPort(c.typed);
    EXPECT_EQ(line.isOpen(), c.port != 0);
    EXPECT_EQ(boxes.asked().size(), c.port == 0 ? 1u : 0u);
    if (c.port != 0) {
      EXPECT_EQ(line.openedPort(), c.port);
      click("Command38");
    }
  }
  EXPECT_TRUE(frames().empty());
}

// Both counts run 0 ... 1000 and then start again at 0; "Reset" zeroes them
// and the scan goes on.
TEST_F(MainWindow, CountsWrapAfter1000AndResetZeroesThem) {
  prepareScan("Fast", 1, 1);  // nobody answers: one missing answer every 290 ms
  click("Command16");
  ASSERT_TRUE(clock.advanceUntil([&] { return text("Label7") == "1000"; }, 1001 * 300));
  ASSERT_TRUE(clock.advanceUntil([&] { return text("Label7") != "1000"; }, 300));
  EXPECT_EQ(text("Label7"), "0");
  Frame bad = reply(1, cmd::Voltage);
  bad[10] ^= 0xFF;
  for (int n = 1; n <= 1000; ++n) receive(bad);
  EXPECT_EQ(text("Label8"), "1000");
  receive(bad);
  EXPECT_EQ(text("Label8"), "0");
  receive(bad);
  click("Command1");
  EXPECT_EQ(text("Label7"), "0");
  EXPECT_EQ(text("Label8"), "0");
  const auto sent = frames().size();
  clock.advance(1000);
  EXPECT_GT(frames().size(), sent);
}

}  // namespace
}  // namespace zelta::testing
