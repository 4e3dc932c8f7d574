// The Reader on a real pseudo-terminal whose far end vanishes in the middle
// of a scan: it keeps running, counts missing answers, stays nearly idle, and
// after the simulator is back under the same name "Close" and "Open" bring
// the values back.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cstdio>
#include <memory>

#include "reader/grid_window.h"
#include "reader/reader_window.h"
#include "tty_session.h"

namespace zelta::testing {
namespace {

class ReaderOnATerminal : public ::testing::Test {
 protected:
  template <class T = QWidget>
  T* find(const char* name) {
    T* w = form1->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void click(const char* name) { find<QAbstractButton>(name)->click(); }
  int missing() { return find<QLabel>("Label7")->text().toInt(); }
  // Cells of the voltage window that show a value.
  int voltagesShown() {
    auto* grid = qobject_cast<GridWindow*>(form1->loadedWindow("Form2"));
    int n = 0;
    for (int i = 0; grid && i < 20; ++i) n += !grid->cell(i)->text().isEmpty();
    return n;
  }
  void openAndScan() {
    find<QComboBox>("Combo2")->setEditText(tty.link());
    click("Command36");
    ASSERT_TRUE(tty.line.isOpen()) << tty.line.errorString().toStdString();
    click("Option3(0)");  // Fast
    find<QLineEdit>("Text8")->setText("1");
    find<QLineEdit>("Text45")->setText("20");
    click("Command16");
  }

  TtySession tty;
  std::unique_ptr<ReaderWindow> form1;
};

TEST_F(ReaderOnATerminal, SimulatorKilledMidScanThenBackAfterCloseAndOpen) {
  ASSERT_TRUE(tty.startSimulator({"--modules", "20"})) << tty.lastError().toStdString();
  form1 = std::make_unique<ReaderWindow>(tty.platform);
  form1->show();
  openAndScan();
  // Sweeps of module type, hardware and software first, then voltages.
  ASSERT_TRUE(TtySession::runUntil([&] { return voltagesShown() >= 10; }, 10000));
  EXPECT_LE(missing(), 2);

  tty.killSimulator();
  const int missingAtKill = missing();
  const quint64 bytesAtKill = tty.bytesReceived();
  const double cpu = cpuShareWhileRunning(3000);
  EXPECT_LT(cpu, 0.05) << "share of one core while the far end is gone";
  EXPECT_GE(missing() - missingAtKill, 5) << "missing answers go on being counted";
  EXPECT_EQ(tty.bytesReceived(), bytesAtKill);
  EXPECT_TRUE(tty.boxes.asked().empty());
  EXPECT_TRUE(find<QPushButton>("Command17")->isEnabled()) << "the scan still runs";
  std::printf("[tty] far end gone for 3 s: %.2f %% of a core, %d missing answers counted\n",
              100 * cpu, missing() - missingAtKill);

  ASSERT_TRUE(tty.startSimulator({"--modules", "20"})) << tty.lastError().toStdString();
  click("Command38");
  click("Command36");
  ASSERT_TRUE(tty.line.isOpen()) << tty.line.errorString().toStdString();
  EXPECT_TRUE(tty.boxes.asked().empty());
  click("Command16");  // "Clear old values at start" empties the cells
  EXPECT_EQ(voltagesShown(), 0);
  EXPECT_TRUE(TtySession::runUntil([&] { return voltagesShown() >= 10; }, 10000))
      << "values came back: " << voltagesShown();
  EXPECT_GT(tty.bytesReceived(), bytesAtKill);
}

}  // namespace
}  // namespace zelta::testing
