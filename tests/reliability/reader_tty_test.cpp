// The Reader on a real pseudo-terminal whose far end vanishes in the middle
// of a scan: it says so in red, keeps running, counts missing answers, stays
// nearly idle, and after the simulator is back under the same name "Close"
// and "Open" bring the values back and take the red line away.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <cstdio>

#include "reader/grid_window.h"
#include "reader/reader_window.h"
#include "tty_session.h"

namespace zelta::testing {
namespace {

TEST(ReaderOnATerminal, SimulatorKilledMidScanThenBackAfterCloseAndOpen) {
  TtySession tty;
  ASSERT_EQ(tty.startSimulator({"--modules", "20"}).toStdString(), "");
  ReaderWindow form1(tty.platform);
  form1.show();
  const auto missing = [&] { return child<QLabel>(&form1, "Label7")->text().toInt(); };
  const auto voltagesShown = [&] {  // cells of the voltage window that show a value
    auto* grid = qobject_cast<GridWindow*>(form1.loadedWindow("Form2"));
    int n = 0;
    for (int i = 0; grid && i < 20; ++i) n += !grid->cell(i)->text().isEmpty();
    return n;
  };
  child<QComboBox>(&form1, "Combo2")->setEditText(tty.link());
  click(&form1, "Command36");
  ASSERT_TRUE(tty.line.isOpen()) << tty.line.errorString().toStdString();
  click(&form1, "Option3(0)");  // Fast
  child<QLineEdit>(&form1, "Text8")->setText("1");
  child<QLineEdit>(&form1, "Text45")->setText("20");
  click(&form1, "Command16");
  // Sweeps of module type, hardware and software first, then voltages.
  ASSERT_TRUE(runUntil([&] { return voltagesShown() >= 10; }, 10000));
  EXPECT_LE(missing(), 2);

  tty.killSimulator();
  const int missingAtKill = missing();
  const quint64 bytesAtKill = tty.bytesReceived();
  const double cpu = cpuShareWhileRunning(3000);
  EXPECT_LT(cpu, 0.05) << "share of one core while the far end is gone";
  EXPECT_GE(missing() - missingAtKill, 5) << "missing answers go on being counted";
  EXPECT_EQ(tty.bytesReceived(), bytesAtKill);
  EXPECT_TRUE(tty.boxes.asked().empty());
  EXPECT_TRUE(child<QWidget>(&form1, "Command17")->isEnabled()) << "the scan still runs";
  auto* red = child<QLabel>(&form1, "LineStatus");
  EXPECT_FALSE(red->isHidden());
  EXPECT_TRUE(red->text().startsWith("Line lost on " + tty.link())) << red->text().toStdString();
  std::printf("[tty] far end gone for 3 s: %.2f %% of a core\n", 100 * cpu);

  ASSERT_EQ(tty.startSimulator({"--modules", "20"}).toStdString(), "");
  click(&form1, "Command38");
  click(&form1, "Command36");
  ASSERT_TRUE(tty.line.isOpen()) << tty.line.errorString().toStdString();
  EXPECT_TRUE(tty.boxes.asked().empty());
  EXPECT_TRUE(red->isHidden());
  click(&form1, "Command16");  // "Clear old values at start" empties the cells
  EXPECT_EQ(voltagesShown(), 0);
  EXPECT_TRUE(runUntil([&] { return voltagesShown() >= 10; }, 10000)) << "values came back: " << voltagesShown();
}

}  // namespace
}  // namespace zelta::testing
