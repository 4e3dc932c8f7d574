// Frame monitor screenshot: the Reader's monitor during a Fast scan of 24
// simulated modules with a weak block, a silent module and a noisy line.
#include <QAction>
#include <QApplication>
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

int renderMonitorShots(const QDir& dir) {
  zelta::VirtualClock clock;
  zelta::BusSimulator bus{clock, 5};
  zelta::SimulatedLine line{bus};
  zelta::ScriptedMessageBoxes boxes{clock};
  zelta::RecordingTone tone{&clock};
  zelta::ScriptedFolderChooser folders;
  zelta::FixedEnvironment environment;
  zelta::MemorySettings settings;
  zelta::ScriptedFileSaver files;
  zelta::Platform platform{clock, line, boxes, tone, folders, environment, settings, files};
  zelta::ReaderWindow form1{platform};

  bus.addModules(24, 1);
  bus.module(8).millivolts = 11240;  // a weak block at address 9
  bus.setSilentRange(17, 17);
  bus.setFaults({.corruptByte = 0.004, .noiseByte = 0.08, .strayStart = 0.03});
  form1.show();
  form1.findChild<QComboBox*>("Combo2")->setEditText("COM1");
  form1.findChild<QPushButton*>("Command36")->click();
  form1.findChild<QRadioButton*>("Option3(0)")->click();
  form1.findChild<QLineEdit*>("Text45")->setText("24");
  form1.findChild<QAction*>("Frame_Monitor")->trigger();
  form1.findChild<QPushButton*>("Command16")->click();
  clock.advance(6000);

  QWidget* monitor = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String("FrameMonitor")) monitor = w;
  const QString path = dir.filePath(QStringLiteral("frame-monitor.png"));
  if (!monitor || !monitor->grab().save(path)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return 1;
  }
  std::printf("%s\n", qPrintable(path));
  return 0;
}
