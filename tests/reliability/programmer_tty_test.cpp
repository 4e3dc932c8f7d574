// The Programmer on a real pseudo-terminal whose far end vanishes in the
// middle of automatic addressing: it keeps running, stays nearly idle, and
// after the simulator is back under the same name "Close", "Open" and
// "Start" go on addressing.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <cstdio>
#include <functional>
#include <memory>

#include "programmer/programmer_window.h"
#include "tty_session.h"

namespace zelta::testing {
namespace {

class ProgrammerOnATerminal : public ::testing::Test {
 protected:
  template <class T = QWidget>
  T* find(const char* name) {
    T* w = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void click(const char* name) { find<QAbstractButton>(name)->click(); }
  QStringList title() { return {find<QLabel>("Label1")->text(), find<QLabel>("Label2")->text()}; }
  bool titleIs(const QString& first, const QString& second) { return title() == QStringList{first, second}; }
  // The installer presses the module's button, again if nothing happens: the
  // request that arms the module may still be on its way.
  bool pressUntil(int module, const std::function<bool()>& confirmed) {
    for (int attempt = 0; attempt < 10; ++attempt) {
      tty.command(QStringLiteral("press %1").arg(module));
      if (TtySession::runUntil(confirmed, 1000)) return true;
    }
    return false;
  }
  void startAddressing(const char* first, const char* last) {
    find<QLineEdit>("Text2")->setText(first);
    find<QLineEdit>("Text3")->setText(last);
    click("Command6");
  }

  TtySession tty;
  std::unique_ptr<programmer::ProgrammerWindow> window;
};

TEST_F(ProgrammerOnATerminal, SimulatorKilledDuringAutomaticAddressingThenBackAfterCloseAndOpen) {
  ASSERT_TRUE(tty.startSimulator({"--modules", "5", "--unaddressed"})) << tty.lastError().toStdString();
  window = std::make_unique<programmer::ProgrammerWindow>(tty.platform);
  window->show();
  find<QComboBox>("Combo2")->setEditText(tty.link());
  click("Command36");
  ASSERT_TRUE(tty.line.isOpen()) << tty.line.errorString().toStdString();
  startAddressing("1", "5");
  // The wake-up step takes four seconds; then the installer presses module 1.
  ASSERT_TRUE(TtySession::runUntil([&] { return titleIs("Press Button", "on Modul 1"); }, 10000));
  ASSERT_TRUE(pressUntil(1, [&] { return tty.tone.played().size() == 1; }))
      << title().join(" / ").toStdString();
  // Gone before the stop broadcast and the request for address 2 are written.
  tty.killSimulator();
  EXPECT_TRUE(TtySession::runUntil([&] { return titleIs("Press Button", "on Modul 2"); }, 3000))
      << "the run goes on to the next address: " << title().join(" / ").toStdString();
  const double cpu = cpuShareWhileRunning(3000);
  EXPECT_LT(cpu, 0.05) << "share of one core while the far end is gone";
  std::printf("[tty] far end gone for 3 s during automatic addressing: %.2f %% of a core\n", 100 * cpu);
  EXPECT_TRUE(titleIs("Press Button", "on Modul 2"));
  EXPECT_TRUE(tty.boxes.asked().empty());

  ASSERT_TRUE(tty.startSimulator({"--modules", "5", "--unaddressed"})) << tty.lastError().toStdString();
  click("Command38");
  click("Command36");
  ASSERT_TRUE(tty.line.isOpen()) << tty.line.errorString().toStdString();
  EXPECT_TRUE(tty.boxes.asked().empty());
  startAddressing("2", "5");
  ASSERT_TRUE(TtySession::runUntil([&] { return titleIs("Press Button", "on Modul 2"); }, 10000));
  EXPECT_TRUE(pressUntil(2, [&] { return titleIs("Press Button", "on Modul 3"); }))
      << title().join(" / ").toStdString();
  EXPECT_EQ(tty.tone.played().size(), 2u);
}

}  // namespace
}  // namespace zelta::testing
