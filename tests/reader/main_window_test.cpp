// The main window: the enabled state of every control through each change,
// why an Open failed, a line lost while open, the ports present, the port
// number rules, the counters and the impedance countdown before a sweep.
#include <gmock/gmock.h>

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
  expectColumn(1, "failed open");
  openPort("COM4");
  expectColumn(2, "open");
  EXPECT_EQ(form1->focusWidget(), find("Command16")) << "Start has the focus, not Quit";
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
  click("Command38");  // mid-scan: the line lamps go dark
  EXPECT_FALSE(line.isOpen());
  expectColumn(7, "close");
  EXPECT_EQ(find<Lamp>("TXANZ")->colour(), colour::DarkGreen);
  EXPECT_EQ(find<Lamp>("RXANZ")->colour(), colour::DarkGreen);
}

// The port number comes from the end of the name; once taken it stays for the
// names it cannot be taken from (other lengths than 4 and 5). A failed Open
// says why in a box and leaves the port closed; a line lost while open shows
// in red until an Open succeeds.
TEST_F(MainWindow, OpenTakesThePortNumberFromTheNameOrSaysWhyItFailedAndALostLineShowsRed) {
  using Kind = LineError::Kind;
  struct Case {
    int listClick = -1;  // index clicked in the list first
    QString typed;
    int port = 0;  // 0: the open fails
    LineError failure = {};  // what the line reports, if the open gets that far
    QStringList reason = {};
  };
  const Case cases[] = {
      {.typed = "xyz", .reason = {"\"xyz\" names no port"}},
      {.typed = ""}, {.typed = "ABCD"}, {.typed = "COM0"}, {.typed = "COM-1"}, {.typed = "COM.5"},
      {.typed = QString::fromUtf8("COM\uff15")}, {.typed = "COM999"},
      {.typed = "COM" + QString(5000, '1')},
      {.typed = "COM2", .reason = {"No such device: COM2"}},
      {.typed = "/dev/ttyUSB0",
       .failure = {Kind::PermissionDenied, "/dev/ttyUSB0", "Permission denied"},
#ifdef Q_OS_LINUX
       .reason = {"Permission denied: /dev/ttyUSB0 (Permission denied).",
                  "Join the \"dialout\" group"}},
#else
       .reason = {"Permission denied: /dev/ttyUSB0 (Permission denied)."}},
#endif
      {.typed = "COM1",
       .failure = {Kind::Busy, "/dev/ttyS0", {}},
       .reason = {"Busy: /dev/ttyS0 is in use by another program."}},
      {6, "abc", 7}, {9, "COM10", 10}, {-1, "COM 5", 5}, {-1, "COMXYZ", 5},
      {-1, QString::fromUtf8("\uff23\uff2f\uff2d7"), 7}, {-1, "COM12", 12},
  };
  line.setAvailablePorts({1, 5, 7, 10, 12});
  for (const Case& c : cases) {
    SCOPED_TRACE("port name '" + c.typed.left(20).toStdString() + "'");
    boxes.clearAsked();
    if (c.listClick >= 0) choosePort(c.listClick);
    line.failNextOpen(c.failure);
    ::testing::internal::CaptureStderr();
    openPort(c.typed);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(line.isOpen(), c.port != 0);
    if (c.port != 0) {
      EXPECT_EQ(line.openedPort(), c.port);
      EXPECT_TRUE(boxes.asked().empty());
      click("Command38");
      continue;
    }
    ASSERT_EQ(boxes.asked().size(), 1u);
    const BoxRequest& box = boxes.asked()[0];
    EXPECT_EQ(box.text, "Port already open");
    EXPECT_EQ(box.title, "ZELTA II");
    EXPECT_EQ(box.icon, BoxIcon::Critical);
    for (const QString& part : c.reason) {
      EXPECT_THAT(box.detail.toStdString(), ::testing::HasSubstr(part.toStdString()));
      EXPECT_THAT(said, ::testing::HasSubstr(part.toStdString())) << "on standard error";
    }
    expectColumn(1, "failed open");
  }
  EXPECT_TRUE(frames().empty());
  openPort("COM1");
  QWidget* red = find("LineStatus");
  EXPECT_TRUE(red->isHidden());
  line.failNow("Input/output error");
  EXPECT_EQ(text("LineStatus"),
            "Line lost on COM1: Input/output error. Close, then Open again once it is back.");
  click("Command38");
  openPort("COM2");
  EXPECT_FALSE(red->isHidden()) << "a failed Open leaves it";
  openPort("COM1");
  EXPECT_TRUE(red->isHidden());
}

TEST_F(MainWindow, PortListOffersTheAdaptersPresentAndSaysWhichDeviceANameOpens) {
  const QString stable = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
  ports.present = {{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A50285BI"},
                   {stable, "FT232R USB UART", "FTDI", "A50285BI"}};
  ports.named[12] = "/dev/ttyACM0";
  restart();
  auto* combo = find<QComboBox>("Combo2");
  ASSERT_EQ(combo->count(), 32);
  EXPECT_EQ(combo->itemText(29), "COM30");
  EXPECT_EQ(combo->itemText(31), stable);
  EXPECT_EQ(text("PortDevice"), "COM1 opens /dev/ttyS0");
  choosePort(11);
  EXPECT_EQ(text("PortDevice"), "COM12 opens /dev/ttyACM0");
  choosePort(30);
  EXPECT_EQ(combo->currentText(), "/dev/ttyUSB0");
  EXPECT_EQ(text("PortDevice"), "Opens /dev/ttyUSB0 (FT232R USB UART, FTDI, SN A50285BI)");
  EXPECT_EQ(combo->toolTip(), text("PortDevice"));
  EXPECT_THAT(combo->itemData(31, Qt::ToolTipRole).toString().toStdString(),
              ::testing::HasSubstr("SN A50285BI"));
  click("Command36");
  EXPECT_EQ(line.openedDevice(), "/dev/ttyUSB0");
}

// Both counts run 0 ... 1000 and then start again at 0; "Reset" zeroes them
// and the scan goes on. Nobody answers: a missing answer every 300 ms, and the
// impedance countdown, at 0 from the first minute on, stays there as long as
// the temperature sweep has not ended.
TEST_F(MainWindow, CountsWrapAfter1000AndResetZeroesThem) {
  prepareScan("Medium", 1, 340, true);
  click("Command16");
  ASSERT_TRUE(clock.advanceUntil([&] { return text("Label7") == "1000"; }, 1001 * 300));
  ASSERT_TRUE(clock.advanceUntil([&] { return text("Label7") != "1000"; }, 300));
  EXPECT_EQ(text("Label7"), "0");
  EXPECT_EQ(text("Text1"), "0");
  for (const auto& f : frames()) ASSERT_NE(frameCommand(f.frame), cmd::Impedance);
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
