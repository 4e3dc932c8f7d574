// Every window of both programs on a 1280 x 800 screen at 150 % scaling, at
// its fullest (long device paths, the red line, More Values): it fits with
// room for its frame, and its "Quit" is in sight.
#include <QDir>
#include <QScreen>
#include <QTemporaryDir>

#include "programmer/value_windows.h"
#include "tests/programmer/programmer_fixture.h"
#include "tests/reader/reader_fixture.h"

namespace {

// Set before main() starts the application on the offscreen platform.
const bool kLaptopScreen = [] {
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" ZELTA_LAPTOP_SCREEN);
  qputenv("QT_SCALE_FACTOR", "1.5");
  return true;
}();

const QString kLongPath = "/dev/serial/by-id/usb-Future_Technology_Devices_International_"
                          "FT232R_USB_UART_A50285BI-if00-port0";

void expectFits(QWidget* w) {
  ASSERT_NE(w, nullptr);
  SCOPED_TRACE(w->objectName().toStdString());
  w->show();
  const QRect room = w->screen()->availableGeometry();
  ASSERT_EQ(room.size(), QSize(853, 533)) << "the screen is not the small one";
  EXPECT_LE(w->width(), room.width() - 16);
  EXPECT_LE(w->height(), room.height() - 48);
  if (auto* quit = w->findChild<QWidget*>("Command28")) {
    EXPECT_TRUE(w->rect().contains(QRect(quit->mapTo(w, QPoint(0, 0)), quit->size())));
  }
}

}  // namespace

namespace zelta::testing {

using ReaderOnASmallScreen = ReaderFixture;

TEST_F(ReaderOnASmallScreen, EveryWindowFits) {
  ports.present = {{kLongPath, "FT232R USB UART", "Future Technology Devices International",
                    "A50285BI"}};
  form1 = std::make_unique<ReaderWindow>(platform);
  choosePort(30);
  click("Command36");
  line.failNow("Input/output error");
  menu("Logging_Options");
  expectFits(window("Log_Options"));
  click("Check1", window("Log_Options"));
  type("T_LogDir", "/home/technician/battery-strings/site-north/string-7/logs", window("Log_Options"));
  click("B_Apply", window("Log_Options"));
  expectFits(form1.get());
  menu("Module_Voltage");
  expectFits(window("Form2"));
  click("Command1", window("Form2"));
  expectFits(window("Form2"));
  click("Option2");
  expectFits(window("Form4"));
}

}  // namespace zelta::testing

namespace zelta::test {

using ProgrammerOnASmallScreen = ProgrammerFixture;

TEST_F(ProgrammerOnASmallScreen, EveryWindowFitsAtEveryLevel) {
  ports.present = {{kLongPath, "FT232R USB UART", "FTDI", "A50285BI"}};
  QTemporaryDir folder;
  environment.current = folder.path() + "/readings-of-string-7-north-site-after-installation";
  ASSERT_TRUE(QDir().mkpath(environment.current));
  for (const QString level : {"", "-e", "-se"}) {
    SCOPED_TRACE(level.toStdString());
    window.reset();
    line.close();
    startOpen(level);
    line.failNow("Input/output error");
    expectFits(window.get());
    if (level == "-e") {
      expectFits(topLevel("Form2"));
      continue;
    }
    click("Option2");
    click("Command1");  // "Values"
    topLevel("Form3")->findChild<QAbstractButton*>("Command1")->click();  // "Save"
    expectFits(topLevel("Form3"));
  }
}

}  // namespace zelta::test
