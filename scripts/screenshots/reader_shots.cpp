// ZELTA_Reader screenshots: the main window during a Fast scan, the
// voltage grid window filled by a scan of 340 modules, the string overview
// and trend plot on a string with a weak block and a flaky module, and the
// main window publishing while its broker is out of reach.
#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <cstdio>

#include "platform/fakes/fakes.h"
#include "platform/fakes/scripted_message_boxes.h"
#include "platform/platform.h"
#include "platform/virtual_clock.h"
#include "reader/publish/mqtt_publisher.h"
#include "reader/publish/publish_state_line.h"
#include "reader/publish/reader_publishing.h"
#include "reader/reader_window.h"
#include "shots.h"
#include "sim/bus_simulator.h"
#include "sim/simulated_line.h"

namespace {

struct ReaderOnSimulatedBus {
  zelta::VirtualClock clock;
  zelta::BusSimulator bus{clock, 3};
  zelta::SimulatedLine line{bus};
  zelta::ScriptedMessageBoxes boxes{clock};
  zelta::RecordingTone tone{&clock};
  zelta::ScriptedFolderChooser folders;
  zelta::FixedEnvironment environment;
  zelta::MemorySettings settings;
  zelta::ScriptedFileSaver files;
  zelta::Platform platform{clock, line, boxes, tone, folders, environment, settings, files};
  zelta::ReaderWindow form1{platform};

  template <class T>
  T* control(const char* name) {
    return form1.findChild<T*>(QString::fromLatin1(name));
  }
  void startFastScan(int modules) {
    bus.addModules(modules, 1);
    bus.setDrift(true);
    form1.show();
    control<QComboBox>("Combo2")->setEditText("COM3");
    control<QPushButton>("Command36")->click();
    control<QRadioButton>("Option3(0)")->click();
    control<QLineEdit>("Text45")->setText(QString::number(modules));
    control<QCheckBox>("Check7")->setChecked(true);
    control<QPushButton>("Command16")->click();
  }
  // A healthy string, evenly charged, so that outliers stand out.
  void evenValues() {
    for (int i = 0; i < bus.moduleCount(); ++i) {
      zelta::ModuleState& m = bus.module(i);
      m.millivolts = static_cast<std::uint16_t>(13150 + i * 37 % 100);
      m.temperatureByte = static_cast<std::uint8_t>(122 + i % 5);
      m.impedance = static_cast<std::uint16_t>(330 + i * 13 % 40);
    }
  }
};

bool save(QWidget& w, const QDir& dir, const char* file) {
  const QString path = dir.filePath(QString::fromLatin1(file));
  if (!w.grab().save(path)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

}  // namespace

int renderReaderShots(const QDir& dir) {
  int failures = 0;
  {
    ReaderOnSimulatedBus r;
    r.bus.setSilentRange(17, 17);  // one module missing, so the counter shows
    r.startFastScan(24);
    r.clock.advance(9000);
    failures += !save(r.form1, dir, "reader-main-window.png");
  }
  {
    ReaderOnSimulatedBus r;
    r.startFastScan(340);
    r.evenValues();
    r.bus.module(122).millivolts = 12380;  // a weak block, coloured
    r.form1.findChild<QAction*>("Module_Voltage")->trigger();
    QWidget* grid = r.form1.loadedWindow("Form2");
    grid->findChild<QPushButton*>("Command1")->click();
    // Module type, hardware and software sweeps, then the voltage sweep.
    r.clock.advance(4 * 340 * 37 + 500);
    failures += !save(*grid, dir, "reader-voltage-grid.png");
  }
  {
    // Module 7 is a weak block, module 15 loses and garbles replies.
    ReaderOnSimulatedBus r;
    r.startFastScan(24);
    r.evenValues();
    r.bus.module(6).millivolts = 12420;
    r.bus.module(9).temperatureByte = static_cast<std::uint8_t>(r.bus.module(9).temperatureByte + 14);
    r.bus.setModuleFaults(14, {.missingReply = 0.15, .corruptReply = 0.1});
    r.clock.advance(60000);
    r.form1.findChild<QAction*>("String_Overview")->trigger();
    QWidget* overview = r.form1.loadedWindow("String_Overview");
    auto* table = overview->findChild<QTableView*>("Overview_Modules");
    table->selectRow(6);
    table->selectionModel()->select(table->model()->index(14, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    overview->findChild<QPushButton*>("Overview_Trend")->click();
    r.clock.advance(9 * 60000);
    table->clearSelection();
    QCoreApplication::processEvents();  // the chart lays out its legend on posted events
    failures += !save(*overview, dir, "reader-string-overview.png");
    failures += !save(*r.form1.loadedWindow("Trend_Plot"), dir, "reader-trend-plot.png");
  }
  {
    // A real connection attempt to a loopback port where no broker listens:
    // the answer comes in real time, the scan runs on the virtual clock.
    ReaderOnSimulatedBus r;
    r.form1.findChild<QAction*>("Publishing_Options")->trigger();
    QWidget* options = r.form1.loadedWindow("Publish_Options");
    options->findChild<QCheckBox*>("PublishActive")->setChecked(true);
    options->findChild<QLineEdit*>("T_Host")->setText("127.0.0.1");
    options->findChild<QLineEdit*>("T_Port")->setText("1");
    options->findChild<QPushButton*>("B_Apply")->click();
    const auto& publisher = r.form1.publishing().publisher();
    const auto settle = [&] {
      QElapsedTimer waited;
      waited.start();
      while (publisher.state() != zelta::MqttPublisher::State::Retrying && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    };
    settle();
    r.startFastScan(24);
    r.clock.advance(9000);
    settle();
    r.clock.advance(zelta::PublishStateLine::kRedrawMs);
    failures += !save(r.form1, dir, "reader-publishing.png");
  }
  return failures;
}
