// ZELTA_Reader screenshots: the main window during a Fast scan, the
// voltage grid window filled by a scan of 340 modules, the string overview
// and trend plot on a string with a weak block and a flaky module, the main
// window publishing while its broker is out of reach, and the port list
// with a USB adapter found on the machine over a line lost in the middle of a
// scan.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPainter>
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

// A USB serial adapter as the machine would list it, by kernel name and by
// its stable name.
zelta::FixedPortCatalog portsWithAnAdapter() {
  zelta::FixedPortCatalog ports;
  const QString id = "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
  ports.present = {{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A50285BI"},
                   {"/dev/serial/by-id/" + id, "FT232R USB UART", "FTDI", "A50285BI"}};
  return ports;
}

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
  zelta::FixedPortCatalog ports = portsWithAnAdapter();
  zelta::Platform platform{clock, line, boxes, tone, folders, environment, settings, files, nullptr, &ports};
  zelta::ReaderWindow form1{platform};

  template <class T>
  T* control(const char* name) {
    return form1.findChild<T*>(QString::fromLatin1(name));
  }
  void startFastScan(int modules, const QString& port = "COM3") {
    bus.addModules(modules, 1);
    bus.setDrift(true);
    form1.show();
    control<QComboBox>("Combo2")->setEditText(port);
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

// The window with the port list open below its port box: the list is a
// window of its own, so both are grabbed and put together.
bool saveWithPortList(QWidget& window, QComboBox& combo, const QDir& dir, const char* file) {
  combo.showPopup();
  QWidget* list = combo.view()->window();
  const QPixmap base = window.grab();
  const QPixmap popup = list->grab();
  const QPoint at = list->mapToGlobal(QPoint(0, 0)) - window.mapToGlobal(QPoint(0, 0));
  const QRect whole = base.rect().united(QRect(at, popup.size()));
  QPixmap picture(whole.size());
  picture.fill(Qt::white);
  {
    QPainter painter(&picture);
    painter.drawPixmap(-whole.topLeft(), base);
    painter.drawPixmap(at - whole.topLeft(), popup);
  }
  combo.hidePopup();
  const QString path = dir.filePath(QString::fromLatin1(file));
  if (!picture.save(path)) {
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
  {
    ReaderOnSimulatedBus r;
    auto* combo = r.control<QComboBox>("Combo2");
    combo->setCurrentIndex(31);  // the adapter by its stable name, listed after COM30
    r.startFastScan(24, combo->currentText());
    r.clock.advance(5000);
    r.line.failNow("Input/output error");  // the adapter pulled out
    r.clock.advance(4000);
    r.control<QPushButton>("Command38")->click();  // Close, to choose the port again
    // A short list, so that the red line below stays in the picture.
    combo->setMaxVisibleItems(4);
    failures += !saveWithPortList(r.form1, *combo, dir, "reader-port-list-line-lost.png");
  }
  return failures;
}
