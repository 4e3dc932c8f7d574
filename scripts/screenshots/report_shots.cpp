// The health report sample for the documentation: ZELTA_Reader scans 24
// simulated modules offscreen and logs them; block 7 floats 3.5 % low, block
// 15 runs 8 °C hot and block 19 stops answering. "Health Report..." then makes
// the report, and pdftoppm turns its first page into a PNG.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
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

struct ReaderLogging {
  zelta::VirtualClock clock;
  zelta::BusSimulator bus{clock, 5};
  zelta::SimulatedLine line{bus};
  zelta::ScriptedMessageBoxes boxes{clock};
  zelta::RecordingTone tone{&clock};
  zelta::ScriptedFolderChooser folders;
  zelta::FixedEnvironment environment;
  zelta::MemorySettings settings;
  zelta::ScriptedFileSaver files;
  zelta::RecordingDocumentOpener viewer;
  zelta::Platform platform{clock, line, boxes, tone, folders, environment, settings, files, &viewer};
  zelta::ReaderWindow form1{platform};

  template <class T>
  T* control(const char* name, QObject* in = nullptr) {
    return (in ? in : &form1)->findChild<T*>(QString::fromLatin1(name));
  }
};

}  // namespace

int renderReportShots(const QDir& dir) {
  QTemporaryDir temporary;
  const QString logs = temporary.filePath(QStringLiteral("String A"));
  QDir().mkpath(logs);
  ReaderLogging r;
  for (int i = 0; i < 24; ++i) {
    zelta::ModuleState s;
    s.address = static_cast<std::uint16_t>(i + 1);
    s.millivolts = static_cast<std::uint16_t>(i == 6 ? 12740 : 13180 + (i * 7) % 40);
    s.temperatureByte = static_cast<std::uint8_t>(i == 14 ? 140 : 122 + i % 4);
    r.bus.addModule(s);
  }
  r.control<QAction>("Logging_Options")->trigger();
  QWidget* options = r.form1.loadedWindow("Log_Options");
  r.control<QCheckBox>("Check1", options)->setChecked(true);
  r.control<QLineEdit>("T_LogDir", options)->setText(logs);
  r.control<QPushButton>("B_Apply", options)->click();
  r.control<QComboBox>("Combo2")->setEditText("COM1");
  r.control<QPushButton>("Command36")->click();
  r.control<QRadioButton>("Option3(0)")->click();
  r.control<QLineEdit>("Text45")->setText("24");
  r.control<QCheckBox>("Check7")->setChecked(true);
  r.control<QPushButton>("Command16")->click();
  r.clock.advance(120000);
  r.bus.setSilentRange(19, 19);
  r.clock.advance(30000);
  r.control<QPushButton>("Command17")->click();
  r.clock.advance(1000);

  r.control<QAction>("Health_Report")->trigger();
  r.clock.advanceUntil([&] { return !r.viewer.opened.empty(); }, 10000);
  if (r.viewer.opened.empty()) {
    std::fprintf(stderr, "the health report was not made\n");
    return 1;
  }
  const QString png = dir.filePath(QStringLiteral("report-summary"));
  const int code = QProcess::execute(
      QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("80"),
                                   QStringLiteral("-singlefile"), QStringLiteral("-f"),
                                   QStringLiteral("1"), r.viewer.opened.front(), png});
  if (code != 0) {
    std::fprintf(stderr, "pdftoppm could not render %s\n", qPrintable(r.viewer.opened.front()));
    return 1;
  }
  std::printf("%s.png\n", qPrintable(png));
  return 0;
}
