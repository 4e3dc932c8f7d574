// The Programmer on a real pseudo-terminal whose far end vanishes in the
// middle of automatic addressing: it keeps running, stays nearly idle, and
// after the simulator is back under the same name "Close", "Open" and
// "Start" go on addressing.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <cstdio>

#include "programmer/programmer_window.h"
#include "tty_session.h"

namespace zelta::testing {
namespace {

TEST(ProgrammerOnATerminal, SimulatorKilledDuringAutomaticAddressingThenBackAfterCloseAndOpen) {
  TtySession tty;
  ASSERT_EQ(tty.startSimulator({"--modules", "5", "--unaddressed"}).toStdString(), "");
  programmer::ProgrammerWindow window(tty.platform);
  window.show();
  const auto title = [&] {
    return child<QLabel>(&window, "Label1")->text() + " / " + child<QLabel>(&window, "Label2")->text();
  };
  const auto asks = [&](int module) {
    return [&, module] { return title() == QStringLiteral("Press Button / on Modul %1").arg(module); };
  };
  // The installer presses the module's button, again if nothing happens: the
  // request that arms the module may still be on its way.
  const auto pressUntil = [&](int module, const std::function<bool()>& confirmed) {
    for (int attempt = 0; attempt < 10; ++attempt) {
      tty.command(QStringLiteral("press %1").arg(module));
      if (runUntil(confirmed, 1000)) return true;
    }
    return false;
  };
  const auto startAddressing = [&](const char* first) {
    child<QLineEdit>(&window, "Text2")->setText(first);
    child<QLineEdit>(&window, "Text3")->setText("5");
    click(&window, "Command6");
  };
  child<QComboBox>(&window, "Combo2")->setEditText(tty.link());
  click(&window, "Command36");
  ASSERT_TRUE(tty.line.isOpen()) << tty.line.errorString().toStdString();
  startAddressing("1");
  // The wake-up step takes four seconds; then the installer presses module 1.
  ASSERT_TRUE(runUntil(asks(1), 10000));
  ASSERT_TRUE(pressUntil(1, [&] { return tty.tone.played().size() == 1; })) << title().toStdString();
  // Gone before the stop broadcast and the request for address 2 are written.
  tty.killSimulator();
  EXPECT_TRUE(runUntil(asks(2), 3000)) << "the run goes on to the next address: " << title().toStdString();
  const double cpu = cpuShareWhileRunning(3000);
  EXPECT_LT(cpu, 0.05) << "share of one core while the far end is gone";
  std::printf("[tty] far end gone for 3 s during automatic addressing: %.2f %% of a core\n", 100 * cpu);
  EXPECT_TRUE(asks(2)());
  EXPECT_TRUE(tty.boxes.asked().empty());

  ASSERT_EQ(tty.startSimulator({"--modules", "5", "--unaddressed"}).toStdString(), "");
  click(&window, "Command38");
  click(&window, "Command36");
  ASSERT_TRUE(tty.line.isOpen()) << tty.line.errorString().toStdString();
  EXPECT_TRUE(tty.boxes.asked().empty());
  startAddressing("2");
  ASSERT_TRUE(runUntil(asks(2), 10000));
  EXPECT_TRUE(pressUntil(2, asks(3))) << title().toStdString();
  EXPECT_EQ(tty.tone.played().size(), 2u);
}

}  // namespace
}  // namespace zelta::testing
