// Screenshots of ZELTA_Programmer for the documentation: the main window in
// the middle of an automatic addressing run, and the extended value window
// with a module's reading. Both are driven like the tests drive them, on a
// virtual clock against the in-process simulated bus.
#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <cstdio>

#include "platform/fakes/fakes.h"
#include "platform/fakes/scripted_message_boxes.h"
#include "platform/platform.h"
#include "platform/virtual_clock.h"
#include "programmer/programmer_window.h"
#include "programmer/value_windows.h"
#include "shots.h"
#include "sim/bus_simulator.h"
#include "sim/simulated_line.h"

namespace {

using namespace zelta;
using namespace zelta::programmer;

struct ProgrammerBench {
  explicit ProgrammerBench(const QString& arguments) {
    environment.arguments = arguments;
    environment.current = QDir::tempPath();
  }
  void build() { window = std::make_unique<ProgrammerWindow>(platform); }
  void click(const char* name) {
    window->findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
  }
  void setText(const char* name, const QString& text) {
    window->findChild<QLineEdit*>(QString::fromLatin1(name))->setText(text);
  }

  VirtualClock clock;
  BusSimulator bus{clock, 7};
  SimulatedLine line{bus};
  ScriptedMessageBoxes boxes{clock};
  RecordingTone tone{&clock};
  ScriptedFolderChooser folders;
  FixedEnvironment environment;
  MemorySettings settings;
  ScriptedFileSaver files;
  Platform platform{clock, line, boxes, tone, folders, environment, settings, files};
  std::unique_ptr<ProgrammerWindow> window;
};

bool save(QWidget& w, const QDir& dir, const char* file) {
  const QString path = dir.filePath(QString::fromLatin1(file));
  w.adjustSize();
  w.show();
  if (!w.grab().save(path, "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

}  // namespace

int renderProgrammerShots(const QDir& dir) {
  int failures = 0;

  // Addressing a new string: modules 1 and 2 are done, the installer walks
  // to the third.
  {
    ProgrammerBench b(QString{});
    b.bus.addModules(5, 0);
    b.build();
    b.click("Command36");
    b.setText("Text3", QStringLiteral("5"));
    b.click("Command6");
    b.clock.advance(4300);
    for (int i = 0; i < 2; ++i) {
      b.bus.pressButton(i);
      b.clock.advance(1000);
    }
    failures += !save(*b.window, dir, "programmer-main-window.png");
  }

  // Extended value window after a manual "Set" from 0 to 7 at expert level 2.
  {
    ProgrammerBench b(QStringLiteral("-se"));
    ModuleState m;
    m.millivolts = 13124;
    m.temperatureByte = 121;
    m.impedance = 412;
    m.status = 0x30;
    b.bus.addModule(m);
    b.build();
    b.click("Command36");
    b.setText("Text1", QStringLiteral("7"));
    b.click("Command2");
    b.clock.advance(6000);
    ExtendedValueWindow& form3 = b.window->valueWindows().form3();
    form3.findChild<QLineEdit*>(QStringLiteral("Text5"))->setText(QStringLiteral("A17"));
    failures += !save(form3, dir, "programmer-module-values.png");
  }
  return failures;
}
