// The Reader on the real clock and a pseudo-terminal against zelta_bus_sim in a
// child process, killed mid-scan and started again: the loss is told once in
// red, the Reader stays nearly idle, and Close and Open bring the values back.
#include <unistd.h>

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <cstdio>

#include "platform/fakes/fakes.h"
#include "platform/fakes/scripted_message_boxes.h"
#include "platform/platform.h"
#include "platform/qt_serial_line.h"
#include "platform/real_clock.h"
#include "reader/grid_window.h"
#include "reader/reader_window.h"
#include "tests/support/real_time.h"

namespace zelta::testing {
namespace {

class ReaderOnATerminal : public ::testing::Test {
 protected:
  ReaderOnATerminal() {
    QObject::connect(&line, &SerialLine::byteReceived, [this](quint8) { ++bytes; });
    QObject::connect(&line, &SerialLine::lineFailed, [this](const QString&) { ++failures; });
  }
  ~ReaderOnATerminal() override {
    simulator.kill();
    simulator.waitForFinished(5000);
    QFile::remove(link);
  }
  // Starts zelta_bus_sim with 20 modules on the link; the reason when it does
  // not come up, else nothing.
  QString startSimulator() {
    simulator.start(QStringLiteral(ZELTA_BUS_SIM_BINARY), {"--modules", "20", "--link", link});
    QElapsedTimer waited;
    waited.start();
    while (!simulator.canReadLine()) {
      simulator.waitForReadyRead(1000);
      if (waited.elapsed() > 10000 || simulator.state() == QProcess::NotRunning)
        return "no device path from zelta_bus_sim: " + simulator.readAllStandardError();
    }
    simulator.readLine();  // the device path; the link names it
    return {};
  }
  template <class T = QWidget>
  T* child(const char* name) {
    return form1->findChild<T*>(QString::fromLatin1(name));
  }
  void click(const char* name) { child<QAbstractButton>(name)->click(); }

  QString link = QDir::temp().filePath(QStringLiteral("zelta_reliability_%1").arg(::getpid()));
  QProcess simulator;
  quint64 bytes = 0;
  int failures = 0;
  RealClock clock;
  QtSerialLine line;
  ScriptedMessageBoxes boxes{clock};
  RecordingTone tone{&clock};
  ScriptedFolderChooser folders;
  FixedEnvironment environment;
  MemorySettings settings;
  ScriptedFileSaver files;
  Platform platform{clock, line, boxes, tone, folders, environment, settings, files};
  std::unique_ptr<ReaderWindow> form1 = std::make_unique<ReaderWindow>(platform);
};

TEST_F(ReaderOnATerminal, SimulatorKilledMidScanThenBackAfterCloseAndOpen) {
  ASSERT_EQ(startSimulator().toStdString(), "");
  form1->show();
  const auto missing = [&] { return child<QLabel>("Label7")->text().toInt(); };
  const auto voltagesShown = [&] {  // cells of the voltage window that show a value
    auto* grid = qobject_cast<GridWindow*>(form1->loadedWindow("Form2"));
    int n = 0;
    for (int i = 0; grid && i < 20; ++i) n += !grid->cell(i)->text().isEmpty();
    return n;
  };
  child<QComboBox>("Combo2")->setEditText(link);
  click("Command36");
  ASSERT_TRUE(line.isOpen()) << line.errorString().toStdString();
  click("Option3(0)");  // Fast
  child<QLineEdit>("Text45")->setText("20");
  click("Command16");
  // Sweeps of module type, hardware and software first, then voltages.
  ASSERT_TRUE(runUntil([&] { return voltagesShown() >= 10; }, 10000));
  EXPECT_LE(missing(), 2);

  simulator.kill();
  simulator.waitForFinished(5000);
  const int missingAtKill = missing();
  const quint64 bytesAtKill = bytes;
  const double cpuBefore = cpuSeconds();
  QElapsedTimer wall;
  wall.start();
  runFor(3000);
  const double cpu = (cpuSeconds() - cpuBefore) / (static_cast<double>(wall.elapsed()) / 1000.0);
  EXPECT_LT(cpu, 0.05) << "share of one core while the far end is gone";
  EXPECT_GE(missing() - missingAtKill, 5) << "missing answers go on being counted";
  EXPECT_EQ(bytes, bytesAtKill);
  EXPECT_EQ(failures, 1) << "the line reports the far end gone once";
  EXPECT_TRUE(boxes.asked().empty());
  EXPECT_TRUE(child<QWidget>("Command17")->isEnabled()) << "the scan still runs";
  auto* red = child<QLabel>("LineStatus");
  EXPECT_FALSE(red->isHidden());
  EXPECT_TRUE(red->text().startsWith("Line lost on " + link)) << red->text().toStdString();
  std::printf("[tty] far end gone for 3 s: %.2f %% of a core\n", 100 * cpu);

  ASSERT_EQ(startSimulator().toStdString(), "");
  click("Command38");
  click("Command36");
  ASSERT_TRUE(line.isOpen()) << line.errorString().toStdString();
  EXPECT_TRUE(boxes.asked().empty());
  EXPECT_TRUE(red->isHidden());
  click("Command16");  // "Clear old values at start" empties the cells
  EXPECT_EQ(voltagesShown(), 0);
  EXPECT_TRUE(runUntil([&] { return voltagesShown() >= 10; }, 10000)) << "values came back: " << voltagesShown();
}

}  // namespace
}  // namespace zelta::testing
