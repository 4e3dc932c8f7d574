// The main window: the enabled state after start-up, Open, a failed Open and
// Close, Close stopping a scan, the port number rules, why an Open failed, a
// line lost while open, and the ports present on the machine.
#include <gmock/gmock.h>

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
  EXPECT_EQ(form1->focusWidget(), find("Command16")) << "Start has the focus, not Quit";
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

TEST_F(MainWindow, FailedOpenShowsTheBoxWithTheReasonAndLeavesThePortClosed) {
  using Kind = LineError::Kind;
  struct Case {
    const char* typed;
    LineError failure;  // what the line reports, if the open gets that far
    QStringList reason;
  };
  const Case cases[] = {
      {"xyz", {}, {"\"xyz\" names no port"}},
      {"COM2", {}, {"No such device: COM2"}},
      {"/dev/ttyUSB0",
       {Kind::PermissionDenied, "/dev/ttyUSB0", "Permission denied"},
#ifdef Q_OS_LINUX
       {"Permission denied: /dev/ttyUSB0 (Permission denied).", "Join the \"dialout\" group"}},
#else
       {"Permission denied: /dev/ttyUSB0 (Permission denied)."}},
#endif
      {"COM1", {Kind::Busy, "/dev/ttyS0", {}}, {"Busy: /dev/ttyS0 is in use by another program."}},
  };
  line.setAvailablePorts({1});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    boxes.clearAsked();
    line.failNextOpen(c.failure);
    ::testing::internal::CaptureStderr();
    openPort(c.typed);
    const std::string said = ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(boxes.asked().size(), 1u);
    const BoxRequest& box = boxes.asked()[0];
    EXPECT_EQ(box.text, "Port already open");
    EXPECT_EQ(box.title, "ZELTA II");
    EXPECT_EQ(box.icon, BoxIcon::Critical);
    for (const QString& part : c.reason) {
      EXPECT_THAT(box.detail.toStdString(), ::testing::HasSubstr(part.toStdString()));
      EXPECT_THAT(said, ::testing::HasSubstr(part.toStdString())) << "on standard error";
    }
    EXPECT_FALSE(line.isOpen());
    expectColumn(2, c.typed);
  }
}

TEST_F(MainWindow, LineLostMidScanShowsARedLineUntilTheNextOpenWhileTheScanGoesOn) {
  bus.addModules(2, 1);
  openPort("COM1");
  click("Command16");
  clock.advance(1000);
  QWidget* red = find("LineStatus");
  EXPECT_TRUE(red->isHidden());
  line.failNow("Input/output error");
  EXPECT_FALSE(red->isHidden());
  EXPECT_EQ(text("LineStatus"),
            "Line lost on COM1: Input/output error. Close, then Open again once it is back.");
  const int missing = text("Label7").toInt();
  clock.advance(3000);
  EXPECT_GT(text("Label7").toInt(), missing) << "missing answers go on being counted";
  EXPECT_TRUE(enabled("Command17")) << "the scan goes on";
  click("Command38");
  line.setAvailablePorts({});
  openPort("COM1");
  EXPECT_FALSE(red->isHidden()) << "a failed Open leaves it";
  line.setAvailablePorts({1});
  boxes.clearAsked();
  openPort("COM1");
  EXPECT_TRUE(red->isHidden());
  EXPECT_TRUE(boxes.asked().empty());
}

TEST_F(MainWindow, PortListOffersTheAdaptersPresentAndSaysWhichDeviceANameOpens) {
  const QString stable = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
  ports.present = {{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A50285BI"},
                   {stable, "FT232R USB UART", "FTDI", "A50285BI"}};
  ports.named[12] = "/dev/ttyACM0";
  form1 = std::make_unique<ReaderWindow>(platform);
  form1->show();
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
