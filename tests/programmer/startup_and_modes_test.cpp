// Start-up by expert level, Open and its failure, and which timers "Close"
// stops.
#include <QComboBox>

#include "protocol/commands.h"
#include "tests/programmer/programmer_fixture.h"
#include "widgets/lamp.h"

namespace zelta::test {
namespace {

using StartUp = ProgrammerFixture;

TEST_F(StartUp, ArgumentStringChoosesTheExpertLevel) {
  struct Case {
    const char* arguments;
    int level;
    const char* newAddress;
    const char* valueWindow;  // shown at start, or nullptr
    bool helpBox;
  };
  const Case cases[] = {{"", 0, "1", nullptr, false},     {"-E", 1, "1", "Form2", false},
                        {"-se", 2, "0", "Form3", false},  {"-Se", 0, "1", nullptr, false},
                        {"-e ", 0, "1", nullptr, false},  {"-e -se", 0, "1", nullptr, false},
                        {"-?", 0, "1", nullptr, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("arguments '") + c.arguments + "'");
    window.reset();
    boxes.clearAsked();
    start(QString::fromLatin1(c.arguments));
    EXPECT_EQ(window->state().expert, c.level);
    EXPECT_EQ(!find<QWidget>("Label11")->isHidden(), c.level > 0);
    EXPECT_EQ(text("Text1"), c.newAddress);
    for (const char* form : {"Form2", "Form3"}) {
      QWidget* w = topLevel(form);
      EXPECT_EQ(w && w->isVisible(), c.valueWindow && QLatin1String(c.valueWindow) == form) << form;
    }
    ASSERT_EQ(boxes.asked().size(), c.helpBox ? 1u : 0u);
    if (c.helpBox) { EXPECT_EQ(boxes.asked()[0].text, "-e (-E) or -se (-SE) for expert mode"); }
  }
}

TEST_F(StartUp, OpenSendsTheStopBroadcastAndAtLevelTwoEndsInManualModeWithTheLocks) {
  start("-se");
  click("Command36");
  EXPECT_EQ(sent(), (std::vector<Sent>{{0, request::stopAutoAddressing()}}));
  EXPECT_EQ(line.openedPort(), 1);
  EXPECT_TRUE(checked("Option2"));
  for (const char* name : {"Command38", "Option2", "Option3", "Frame5", "Frame2", "Command1"})
    EXPECT_TRUE(enabled(name)) << name;
  for (const char* name : {"Command36", "Combo2", "Option1", "Frame1", "Frame3", "Frame7"})
    EXPECT_FALSE(enabled(name)) << name;
  click("Option3");  // Line Check stays selectable, and back again
  click("Option2");
  EXPECT_FALSE(enabled("Option1"));
  EXPECT_FALSE(enabled("Frame3"));
}

TEST_F(StartUp, PortNumberIsCutFromTheNameAndAFailedOpenChangesNothing) {
  struct Case {
    const char* name;
    int port;  // 0: the port does not exist
  };
  for (const Case& c : {Case{"COM12", 12}, Case{"COMx", 0}, Case{"COM4", 0}}) {
    SCOPED_TRACE(c.name);
    window.reset();
    line.close();
    forgetFrames();
    line.setAvailablePorts({12});
    start();
    find<QComboBox>("Combo2")->setCurrentText(QString::fromLatin1(c.name));
    click("Command36");
    ASSERT_EQ(line.isOpen(), c.port != 0);
    if (c.port != 0) {
      EXPECT_EQ(line.openedPort(), c.port);
      continue;
    }
    ASSERT_EQ(boxes.asked().size(), 1u);
    EXPECT_EQ(boxes.asked()[0].text, "Port already open");
    boxes.clearAsked();
    EXPECT_TRUE(enabled("Command36"));
    for (const char* name : {"Command38", "Option1", "Option2", "Frame1", "Command1"})
      EXPECT_FALSE(enabled(name)) << name;
    EXPECT_TRUE(sent().empty());
  }
}

TEST_F(StartUp, CloseStopsTheFirstElevenTimersOnly) {
  startOpen();
  click("Command6");  // Timer12 waiting; the wake-up request lights TXANZ
  for (int n : {5, 6, 11, 13, 14}) timer(n).start();
  click("Command38");
  for (int n = 1; n <= 11; ++n) EXPECT_FALSE(timer(n).isEnabled()) << "Timer" << n;
  for (int n : {12, 13, 14}) EXPECT_TRUE(timer(n).isEnabled()) << "Timer" << n;
  // The lamps' timers are among them, so Close puts the lamps out itself.
  for (const char* lamp : {"TXANZ", "RXANZ"})
    EXPECT_EQ(find<Lamp>(lamp)->colour(), colour::DarkGreen) << lamp;
  // The automatic start still runs into its procedure after Close.
  clock.advance(4200);
  EXPECT_EQ(title(), QStringList({"Press Button", "on Modul 1"}));
}

}  // namespace
}  // namespace zelta::test
