#include "reader_window.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "enabled_states.h"
#include "grid_windows.h"
#include "health_report_menu.h"
#include "log_options_window.h"
#include "manual_requests.h"
#include "monitor/frame_monitor_launcher.h"
#include "mode_switch.h"
#include "module_values_window.h"
#include "number_text.h"
#include "platform/platform.h"
#include "publish/reader_publishing.h"
#include "reader_link.h"
#include "scan_engine.h"
#include "status_lines.h"
#include "store_and_show.h"
#include "string_views.h"
#include "widgets/line_watch.h"
#include "widgets/port_chooser.h"
#include "widgets/remembered_port.h"

namespace zelta {

ReaderWindow::ReaderWindow(Platform& platform, QWidget* parent)
    : QMainWindow(parent),
      platform_(platform),
      c_(buildReaderControls(*this)),
      logger_([&clock = platform.clock] { return clock.localDateTime(); }),
      remembered_(platform.settings, logger_),
      grids_(std::make_unique<GridWindows>(platform.clock, store_)),
      moduleValues_([] { return new ModuleValuesWindow; }),
      logOptions_(
          std::make_unique<LogOptionsWindow>(logger_, platform.folders, platform.environment)) {
  storeAndShow_ = std::make_unique<StoreAndShow>(state_, store_, *grids_, moduleValues_, logger_,
                                                 readings_, platform.clock);
  link_ = new ReaderLink(platform.line, platform.clock, state_, c_, this);
  ScanEngine::Hooks hooks;
  hooks.clearOldValues = [this] {
    grids_->clearAll();
    store_.clearAll();
    emit readings_.cleared();
  };
  hooks.scanEnded = [this] {
    logger_.flushPendingLine();
    emit readings_.scanStopped();
  };
  engine_ = new ScanEngine(platform.clock, state_, c_, *link_, *this, std::move(hooks));
  link_->setReplyHandlers(storeAndShow_.get(), engine_);
  modes_ = new ModeSwitch(state_, c_, *this, *engine_, *grids_, moduleValues_);
  manual_ = new ManualRequests(state_, c_, *link_, *engine_, moduleValues_, this);
  stringViews_ = std::make_unique<StringViews>(
      *this, StringViews::Sources{platform, busEvents(), readings_, *grids_, state_, store_});

  connect(c_.command36, &QPushButton::clicked, this, &ReaderWindow::openPort);
  connect(c_.command38, &QPushButton::clicked, this, &ReaderWindow::closePort);
  connect(c_.combo2, &QComboBox::activated, this, &ReaderWindow::portChosen);
  connect(c_.command1, &QPushButton::clicked, this, [this] {
    c_.label7->setText("0");
    c_.label8->setText("0");
  });
  const auto quit = [this] {
    logOptions_->close();
    close();
  };
  connect(c_.command28, &QPushButton::clicked, this, quit);
  connect(c_.quit, &QAction::triggered, this, quit);
  connect(c_.help, &QAction::triggered, this, [this] {
    platform_.boxes.show(this, {"Version 3.9.9", "ZELTA_Reader", BoxIcon::None, BoxButtons::Ok});
  });
  for (std::size_t i = 0; i < kAllKinds.size(); ++i) {
    const ValueKind kind = kAllKinds[i];
    connect(c_.gridEntries[i], &QAction::triggered, this,
            [this, kind] { grids_->openFromMenu(kind); });
  }
  connect(c_.loggingOptions, &QAction::triggered, this, [this] { logOptions_->openFromMenu(); });
  status_ = new ReaderStatusLines(*this, *c_.combo2, platform.line, platform.ports, logger_,
                                  [this](const QString& name) { return portNumberText(name); });
  connect(logOptions_.get(), &LogOptionsWindow::optionsTaken, this, [this] {
    remembered_.save();
    status_->showLogging();
  });
  new HealthReportMenu(*this, logger_, platform_);  // a child of the window
  publishing_ = std::make_unique<ReaderPublishing>(*this, platform, readings_, state_);
  logger_.writer().onStatusChanged = [this](const QString& status) {
    c_.logStatus->setText(status);
    c_.logStatus->setVisible(!status.isEmpty());
  };

  frameMonitor_ = monitor::FrameMonitorLauncher::inViewMenu(*this, busEvents(), platform_,
                                                            QStringLiteral("ZELTA_Reader"));

  startUp();
}

BusEvents& ReaderWindow::busEvents() { return link_->events(); }

ReaderWindow::~ReaderWindow() {
  logger_.flushPendingLine();
  logger_.writer().onStatusChanged = nullptr;
  link_->setReplyHandlers(nullptr, nullptr);
  unloadWindows();
}

void ReaderWindow::startUp() {
  for (int n = 1; n <= 30; ++n) c_.combo2->addItem(QStringLiteral("COM%1").arg(n));
  c_.combo2->setEditText("COM1");
  state_.manuell = 0;
  state_.adr = 1;
  state_.opt3 = 1;
  // Setting the fields runs their change handlers, which fill the addresses.
  c_.text1->setText("1");
  c_.text2->setText("1");
  c_.text8->setText("1");
  c_.text45->setText("2");
  c_.option1->setChecked(true);
  applyEnabledState(*this, WindowChange::StartUp);
  state_.start_adr = "1";
  state_.end_adr = "2";
  c_.option3[1]->setChecked(true);
  // Beyond the first start: what the user chose in earlier runs.
  status_->ports().addPresentPorts();
  restoreLastPort(platform_.settings, *c_.combo2);
  remembered_.restore();
  status_->showLogging();
}

QString ReaderWindow::portNumberText(const QString& name) const {
  if (name.size() == 4) return name.right(1);
  if (name.size() == 5) return name.right(2);
  return state_.po;
}

LineError ReaderWindow::openLine() {
  const QString name = c_.combo2->currentText();
  SerialLine& line = platform_.line;
#ifndef Q_OS_WIN
  if (name.startsWith(QLatin1Char('/'))) return line.openDevice(name) ? LineError{} : line.lastError();
#endif
  const auto number = strictNumber(state_.po);
  if (!number || *number != std::floor(*number) || *number < 1 || *number > 65535)
    return {LineError::Kind::NoPortNumber, name, {}};
  return line.openPort(static_cast<int>(*number)) ? LineError{} : line.lastError();
}

void ReaderWindow::openPort() {
  const QString name = c_.combo2->currentText();
  state_.po = portNumberText(name);
  const LineError failure = openLine();
  status_->ports().refresh();
  if (failure.kind != LineError::Kind::None) {
    BoxRequest box{"Port already open", "ZELTA II", BoxIcon::Critical, BoxButtons::Ok};
    box.detail = status_->line().openFailed(name, failure);
    platform_.boxes.show(this, box);
    applyEnabledState(*this, WindowChange::FailedOpen);
    return;
  }
  status_->line().opened(name);
  noteLastPort(platform_.settings, name, state_.po);
  applyEnabledState(*this, WindowChange::Open);
  c_.check7->setChecked(false);
  c_.option1->setChecked(true);  // from Manual Mode this runs the Scan Mode set-up
  c_.command16->setFocus();      // not Quit, which the next Space would press
}

void ReaderWindow::closePort() {
  platform_.line.close();
  link_->darkenLineLamps();
  applyEnabledState(*this, WindowChange::Close);
  engine_->haltScanTimers();
}

void ReaderWindow::portChosen(int index) { state_.po = c_.combo2->itemText(index).right(1); }

QWidget* ReaderWindow::loadedWindow(const QString& name) const {
  for (ValueKind kind : kAllKinds)
    if (name == QLatin1String(kindNames(kind).form)) return grids_->find(kind);
  if (name == QLatin1String("Form4")) return moduleValues_.get();
  if (name == QLatin1String("Log_Options")) return logOptions_.get();
  if (name == QLatin1String("Publish_Options")) return publishing_->optionsWindow();
  return stringViews_->find(name);
}

void ReaderWindow::unloadWindows() {
  grids_->unload(ValueKind::Voltage);
  grids_->unload(ValueKind::Temperature);
  moduleValues_.unload();
  grids_->unload(ValueKind::Impedance);
  grids_->unload(ValueKind::ModuleType);
  grids_->unload(ValueKind::Software);
  grids_->unload(ValueKind::Hardware);
  logOptions_->close();
  stringViews_->unload();
  publishing_->closeWindow();
}

void ReaderWindow::closeEvent(QCloseEvent* event) {
  logger_.flushPendingLine();
  unloadWindows();
  event->accept();
}

}  // namespace zelta
