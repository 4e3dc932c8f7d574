// Start-up by expert level, the port, the mode switch, the wake-up step, the
// refusal of unusable address fields, and which timers "Close" stops.
#include <QApplication>
#include <QComboBox>
#include <QLabel>

#include "protocol/commands.h"
#include "tests/programmer/programmer_fixture.h"
#include "widgets/lamp.h"

namespace zelta::test {
namespace {

struct LevelCase {
  const char* arguments;
  int level;
  const char* newAddress;
  const char* valueWindow;  // shown at start, or nullptr
  bool helpBox;
};

class StartUpLevels : public ProgrammerFixture, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(StartUpLevels, ArgumentStringChoosesTheExpertLevel) {
  const LevelCase& c = GetParam();
  start(QString::fromLatin1(c.arguments));
  EXPECT_EQ(window->state().expert, c.level);
  EXPECT_EQ(!find<QLabel>("Label11")->isHidden(), c.level > 0);
  if (c.level > 0) {
    EXPECT_EQ(text("Label11"), "Expert Mode");
  }
  EXPECT_EQ(text("Text1"), c.newAddress);
  for (const char* form : {"Form2", "Form3"}) {
    QWidget* w = topLevel(form);
    const bool expected = c.valueWindow && QLatin1String(c.valueWindow) == QLatin1String(form);
    EXPECT_EQ(w != nullptr && w->isVisible(), expected) << form;
  }
  if (c.helpBox) {
    ASSERT_EQ(boxes.asked().size(), 1u);
    EXPECT_EQ(boxes.asked()[0].text, "-e (-E) or -se (-SE) for expert mode");
    EXPECT_EQ(boxes.asked()[0].icon, BoxIcon::Information);
    EXPECT_EQ(boxes.asked()[0].buttons, BoxButtons::Ok);
    EXPECT_EQ(boxes.asked()[0].title, "ZELTA_Programmer");
  } else {
    EXPECT_TRUE(boxes.asked().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, StartUpLevels,
    ::testing::Values(LevelCase{"", 0, "1", nullptr, false}, LevelCase{"-e", 1, "1", "Form2", false},
                      LevelCase{"-E", 1, "1", "Form2", false},
                      LevelCase{"-se", 2, "0", "Form3", false},
                      LevelCase{"-SE", 2, "0", "Form3", false},
                      LevelCase{"-Se", 0, "1", nullptr, false},
                      LevelCase{"-sE", 0, "1", nullptr, false},
                      LevelCase{"-e ", 0, "1", nullptr, false},
                      LevelCase{"-e -se", 0, "1", nullptr, false},
                      LevelCase{"e", 0, "1", nullptr, false},
                      LevelCase{"-?", 0, "1", nullptr, true}));

using StartUp = ProgrammerFixture;

TEST_F(StartUp, WindowStartsClosedWithItsCaptionsTextsAndTimers) {
  start();
  EXPECT_EQ(window->objectName(), "Form1");
  EXPECT_EQ(window->windowTitle(), "ZELTA II Programmer");
  EXPECT_EQ(title(), QStringList({"KESTRIN ZELTA II", "Programmer"}));
  auto* combo = find<QComboBox>("Combo2");
  EXPECT_EQ(combo->currentText(), "COM1");
  ASSERT_EQ(combo->count(), 19);
  EXPECT_EQ(combo->itemText(0), "COM1");
  EXPECT_EQ(combo->itemText(18), "COM19");
  for (const auto& [name, value] : std::vector<std::pair<const char*, const char*>>{
           {"Text2", "1"}, {"Text3", "5"}, {"Text4", "0"}, {"Text5", "1"}, {"Label9", "1.18"}})
    EXPECT_EQ(text(name), value) << name;
  EXPECT_TRUE(enabled("Command36"));
  for (const char* name : {"Command38", "Option1", "Option2", "Option3", "Frame1", "Command6",
                           "Frame3", "Command7", "Frame5", "Command3", "Frame2", "Command2",
                           "Command1", "Frame7", "Command8", "Command9", "b_Receive_Info"})
    EXPECT_FALSE(enabled(name)) << name;
  EXPECT_TRUE(checked("Option1"));
  EXPECT_TRUE(checked("Option4"));

  const int intervals[] = {0,    100,  3000, 2000, 100,  5000, 300,  50,   500,  200, 1500,
                           4000, 4000, 3000, 500,  4000, 4000, 1500, 1000, 1000, 1000};
  for (int n = 1; n <= 20; ++n) {
    EXPECT_EQ(timer(n).interval(), intervals[n]) << "Timer" << n;
    EXPECT_FALSE(timer(n).isEnabled()) << "Timer" << n;
  }
}

TEST_F(StartUp, OpenSendsTheStopBroadcastAndEndsInAutomaticMode) {
  start();
  click("Command36");
  ASSERT_EQ(sent().size(), 1u);
  EXPECT_EQ(sent()[0], (Sent{0, request::stopAutoAddressing()}));
  EXPECT_EQ(line.openedPort(), 1);
  EXPECT_FALSE(enabled("Command36"));
  EXPECT_TRUE(enabled("Command38"));
  EXPECT_FALSE(enabled("Combo2"));
  EXPECT_TRUE(checked("Option1"));
  for (const char* name : {"Option1", "Option2", "Option3", "Frame1", "Text2", "Text3", "Check1",
                           "Command6", "Command5"})
    EXPECT_TRUE(enabled(name)) << name;
  for (const char* name : {"Frame3", "Frame5", "Frame2", "Command1", "Frame7"})
    EXPECT_FALSE(enabled(name)) << name;
}

TEST_F(StartUp, OpenAtLevelTwoEndsInManualModeWithTheLocks) {
  start("-se");
  click("Command36");
  EXPECT_TRUE(checked("Option2"));
  EXPECT_FALSE(enabled("Option1"));
  for (const char* name : {"Option2", "Option3", "Frame5", "Command3", "Frame2", "Text4", "Text1",
                           "Command2", "Command1"})
    EXPECT_TRUE(enabled(name)) << name;
  for (const char* name : {"Frame1", "Command6", "Frame3", "Text5", "Command7", "Command4", "Frame7"})
    EXPECT_FALSE(enabled(name)) << name;

  click("Option3");  // Line Check stays selectable, and back again
  EXPECT_TRUE(enabled("Frame7"));
  click("Option2");
  EXPECT_FALSE(enabled("Option1"));
  EXPECT_FALSE(enabled("Frame3"));
}

struct PortCase {
  std::vector<const char*> names;  // typed one after the other, each with "Open"
  std::set<int> ports;             // ports that exist
  bool opens;
  int port;
};

class PortNames : public ProgrammerFixture, public ::testing::WithParamInterface<PortCase> {};

// Each name but the last is opened and closed again; the last decides.
TEST_P(PortNames, PortNumberIsCutFromTheName) {
  const PortCase& c = GetParam();
  line.setAvailablePorts(c.ports);
  start();
  auto* combo = find<QComboBox>("Combo2");
  for (std::size_t i = 0; i < c.names.size(); ++i) {
    combo->setCurrentText(QString::fromLatin1(c.names[i]));
    click("Command36");
    if (i + 1 < c.names.size()) click("Command38");
  }
  EXPECT_EQ(line.isOpen(), c.opens);
  if (c.opens) {
    EXPECT_EQ(line.openedPort(), c.port);
    EXPECT_TRUE(boxes.asked().empty());
    return;
  }
  ASSERT_EQ(boxes.asked().size(), 1u);
  const BoxRequest& box = boxes.asked()[0];
  EXPECT_EQ(box.text, "Port already open");
  EXPECT_EQ(box.icon, BoxIcon::Critical);
  EXPECT_EQ(box.title, "ZELTA Programmer");
  EXPECT_TRUE(enabled("Command36"));
  EXPECT_TRUE(enabled("Combo2"));
  for (const char* name : {"Command38", "Option1", "Option2", "Frame1", "Frame3", "Frame5",
                           "Frame2", "Command1"})
    EXPECT_FALSE(enabled(name)) << name;
  EXPECT_TRUE(sent().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Names, PortNames,
    ::testing::Values(PortCase{{"COM7"}, {7}, true, 7}, PortCase{{"COM12"}, {12}, true, 12},
                      PortCase{{"COM3", "ttyABC"}, {3}, true, 3},
                      PortCase{{"COM3", "abc"}, {3}, true, 3},
                      PortCase{{"abc"}, {1}, false, 0}, PortCase{{"COMx"}, {1}, false, 0},
                      PortCase{{"COM4"}, {3}, false, 0}));

TEST_F(StartUp, DevicePathIsOpenedAsTheDevice) {
  start();
  find<QComboBox>("Combo2")->setCurrentText("/dev/ttyUSB0");
  click("Command36");
  EXPECT_TRUE(line.isOpen());
  EXPECT_EQ(line.openedDevice(), "/dev/ttyUSB0");
}

TEST_F(StartUp, LampsFlashForEachRequestAndEachReceivedByte) {
  bus.addModules(1, 0);
  start();
  auto* tx = find<Lamp>("TXANZ");
  auto* rx = find<Lamp>("RXANZ");
  EXPECT_EQ(tx->colour(), colour::DarkGreen);
  click("Command36");  // the stop broadcast
  EXPECT_EQ(tx->colour(), colour::Green);
  clock.advance(99);
  EXPECT_EQ(tx->colour(), colour::Green);
  clock.advance(1);
  EXPECT_EQ(tx->colour(), colour::DarkGreen);

  inject(std::vector<std::uint8_t>{0x00});  // a noise byte still lights the lamp
  EXPECT_EQ(rx->colour(), colour::Green);
  clock.advance(100);
  EXPECT_EQ(rx->colour(), colour::DarkGreen);
}

struct ModeCase {
  const char* option;
  std::vector<const char*> on;
  std::vector<const char*> off;
  QStringList title;
};

class ModeSwitching : public ProgrammerFixture, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ModeSwitching, EachModeEnablesItsFrames) {
  const ModeCase& c = GetParam();
  startOpen();
  click(QLatin1String(c.option) == QLatin1String("Option3") ? "Option2" : "Option3");
  find<QLabel>("Label1")->setText("something");
  find<QAbstractButton>("Check1")->setChecked(true);
  const bool manual = QLatin1String(c.option) == QLatin1String("Option2");
  click(c.option);
  for (const char* name : c.on) EXPECT_TRUE(enabled(name)) << name;
  for (const char* name : c.off) EXPECT_FALSE(enabled(name)) << name;
  EXPECT_EQ(title(), c.title);
  EXPECT_EQ(checked("Check1"), manual) << "cleared by Automatic Mode and Line Check";
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ModeSwitching,
    ::testing::Values(
        ModeCase{"Option1",
                 {"Frame1", "Text2", "Text3", "Check1", "Command6", "Command5"},
                 {"Frame3", "Frame5", "Frame2", "Command1", "Frame7"},
                 {"KESTRIN ZELTA II", "Programmer"}},
        ModeCase{"Option2",
                 {"Frame3", "Text5", "Command7", "Command4", "Frame5", "Command3", "Frame2",
                  "Text4", "Text1", "Command2", "Command1", "Option1"},
                 {"Frame1", "Command6", "Frame7", "Command8"},
                 {"KESTRIN ZELTA II", "Programmer"}},
        ModeCase{"Option3",
                 {"Frame7", "Option4", "Option5", "Command8", "Command9", "b_Receive_Info"},
                 {"Frame1", "Frame3", "Frame5", "Frame2", "Command1"},
                 {"Line Check", ""}}));

TEST_F(StartUp, ValuesButtonShowsTheExtendedValueWindowAtAnyLevel) {
  startOpen("-e");
  click("Option2");
  click("Command1");
  ASSERT_NE(topLevel("Form3"), nullptr);
  EXPECT_TRUE(topLevel("Form3")->isVisible());
  EXPECT_EQ(topLevel("Form3")->windowTitle(), "Modul Values");
  EXPECT_EQ(topLevel("Form2")->windowTitle(), "Modul Values");
}

TEST_F(StartUp, QuitClosesTheValueWindowsWithTheMainWindow) {
  start("-se");
  window->show();
  click("Command28");
  EXPECT_FALSE(window->isVisible());
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(topLevel("Form3"), nullptr);
}

// The four start actions begin alike: a pending title restore cancelled,
// "Wake up" / "Module", the collective request to 500, and 4000 ms later the
// action itself.
struct WakeCase {
  const char* mode;
  const char* button;
  int timer;
};

class WakeUp : public ProgrammerFixture, public ::testing::WithParamInterface<WakeCase> {};

TEST_P(WakeUp, StartActionsWakeTheBusFirst) {
  const WakeCase& c = GetParam();
  startOpen();
  click(c.mode);
  timer(5).start();
  clock.advance(1000);
  click(c.button);
  EXPECT_FALSE(timer(5).isEnabled());
  EXPECT_EQ(title(), QStringList({"Wake up", "Module"}));
  ASSERT_EQ(sent().size(), 1u);
  EXPECT_EQ(sent()[0], (Sent{1000, request::collective(cmd::WakeUpAddress)}));
  EXPECT_TRUE(timer(c.timer).isEnabled());
  EXPECT_EQ(timer(c.timer).dueMs(), 5000);
}

INSTANTIATE_TEST_SUITE_P(Actions, WakeUp,
                         ::testing::Values(WakeCase{"Option1", "Command6", 12},
                                           WakeCase{"Option2", "Command7", 15},
                                           WakeCase{"Option2", "Command3", 16},
                                           WakeCase{"Option2", "Command2", 11}));

// Address fields that hold no bus address are refused before anything is sent.
struct FieldCase {
  const char* mode;
  const char* field;
  const char* value;
  const char* button;
  const char* fieldName;
};

class UnusableAddress : public ProgrammerFixture, public ::testing::WithParamInterface<FieldCase> {
};

TEST_P(UnusableAddress, IsRefusedWithAMessageAndNothingIsSent) {
  const FieldCase& c = GetParam();
  startOpen();
  click(c.mode);
  setText(c.field, QString::fromLatin1(c.value));
  click(c.button);
  ASSERT_EQ(boxes.asked().size(), 1u);
  const QString message = boxes.asked()[0].text;
  EXPECT_TRUE(message.contains(QLatin1String(c.fieldName))) << message.toStdString();
  EXPECT_TRUE(message.contains("0 to 65535")) << message.toStdString();
  EXPECT_EQ(boxes.asked()[0].title, "ZELTA_Programmer");
  EXPECT_EQ(title(), QStringList({"KESTRIN ZELTA II", "Programmer"}));
  clock.advance(10000);
  EXPECT_TRUE(sent().empty());
  EXPECT_EQ(boxes.asked().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, UnusableAddress,
    ::testing::Values(FieldCase{"Option1", "Text2", "65536", "Command6", "Start Address"},
                      FieldCase{"Option1", "Text2", "-1", "Command6", "Start Address"},
                      FieldCase{"Option1", "Text3", "2.5", "Command6", "End Address"},
                      FieldCase{"Option1", "Text3", "&H10000", "Command6", "End Address"},
                      FieldCase{"Option2", "Text5", "70000", "Command7", "Modul Search Address"},
                      FieldCase{"Option2", "Text5", " 7.25 ", "Command7", "Modul Search Address"},
                      FieldCase{"Option2", "Text4", "100000", "Command2", "Current Address"},
                      FieldCase{"Option2", "Text1", "1.5", "Command2", "New Adress"}));

TEST_F(StartUp, WholeAddressesAtTheEdgesOfTheRangeAreAccepted) {
  startOpen();
  setText("Text2", "0");
  setText("Text3", "&HFFFF");
  click("Command6");
  EXPECT_TRUE(boxes.asked().empty());
  EXPECT_EQ(sent().size(), 1u);
}

TEST_F(StartUp, CloseStopsTheFirstElevenTimersOnly) {
  startOpen();
  click("Command6");  // Timer12 waiting; the wake-up request lights TXANZ
  timer(5).start();
  timer(13).start();
  timer(14).start();
  timer(6).start();
  timer(11).start();
  click("Command38");
  for (int n = 1; n <= 11; ++n) EXPECT_FALSE(timer(n).isEnabled()) << "Timer" << n;
  // The lamps' timers are among them, so Close puts the lamps out itself.
  for (const char* lamp : {"TXANZ", "RXANZ"})
    EXPECT_EQ(window->findChild<Lamp*>(lamp)->colour(), colour::DarkGreen) << lamp;
  for (int n : {12, 13, 14}) EXPECT_TRUE(timer(n).isEnabled()) << "Timer" << n;
  EXPECT_TRUE(checked("Option1"));
  EXPECT_FALSE(enabled("Option1"));
  EXPECT_FALSE(enabled("Frame1"));

  // The automatic start still runs into its procedure after Close.
  clock.advance(4200);
  EXPECT_EQ(title(), QStringList({"Press Button", "on Modul 1"}));
}

}  // namespace
}  // namespace zelta::test
