// ZELTA_Reader screenshots: the main window during a Fast scan, and the
// voltage grid window filled by a scan of 340 modules.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cstdio>

#include "platform/fakes/fakes.h"
#include "platform/fakes/scripted_message_boxes.h"
#include "platform/platform.h"
#include "platform/virtual_clock.h"
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
    r.form1.findChild<QAction*>("Module_Voltage")->trigger();
    QWidget* grid = r.form1.loadedWindow("Form2");
    grid->findChild<QPushButton*>("Command1")->click();
    // Module type, hardware and software sweeps, then the voltage sweep.
    r.clock.advance(4 * 340 * 37 + 500);
    failures += !save(*grid, dir, "reader-voltage-grid.png");
  }
  return failures;
}
