#include "programmer/programmer_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "monitor/frame_monitor_launcher.h"
#include "platform/clock.h"
#include "programmer/address_search.h"
#include "programmer/auto_addressing.h"
#include "programmer/line_check.h"
#include "programmer/manual_addressing.h"
#include "programmer/mode_switch.h"
#include "programmer/module_search.h"
#include "programmer/port_control.h"
#include "programmer/programmer_context.h"
#include "programmer/programmer_link.h"
#include "programmer/reply_router.h"
#include "programmer/status_lines.h"
#include "programmer/value_windows.h"
#include "widgets/port_chooser.h"
#include "widgets/remembered_port.h"

namespace zelta::programmer {

int expertLevelFor(const QString& arguments) {
  if (arguments == QLatin1String("-e") || arguments == QLatin1String("-E")) return 1;
  if (arguments == QLatin1String("-se") || arguments == QLatin1String("-SE")) return 2;
  return 0;
}

ProgrammerWindow::ProgrammerWindow(Platform& platform, QWidget* parent)
    : QWidget(parent), platform_(platform) {
  ui_ = buildForm1(*this, platform_.clock);
  values_ = std::make_unique<ValueWindows>(platform_.boxes, platform_.environment);
  link_ = new ProgrammerLink(platform_.line, platform_.clock, *ui_.txanz, ui_.timer(4),
                             *ui_.rxanz, ui_.timer(1), this);
  ctx_.reset(new ProgrammerContext{platform_, state_, ui_, *this, *link_, *values_});
  lineCheck_ = new LineCheck(*ctx_, this);
  modes_ = new ModeSwitch(*ctx_, *lineCheck_, this);
  autoAddressing_ = new AutoAddressing(*ctx_, this);
  moduleSearch_ = new ModuleSearch(*ctx_, this);
  addressSearch_ = new AddressSearch(*ctx_, this);
  manual_ = new ManualAddressing(*ctx_, this);
  status_ = new StatusLines(*this, *ui_.combo2, platform_.line, platform_.ports,
                            [this](const QString& name) {
                              return PortControl::portNumberText(name, state_.po);
                            });
  port_ = new PortControl(*ctx_, *modes_, *autoAddressing_, *status_, this);
  replies_ = std::make_unique<ReplyRouter>(*ctx_, *moduleSearch_, *addressSearch_,
                                           *autoAddressing_, *lineCheck_);
  link_->setReplies(replies_.get());

  connect(&ui_.timer(5), &Timer::tick, this, [this] {
    ctx_->startText();
    ui_.timer(5).stop();
  });
  connect(ui_.command28, &QPushButton::clicked, this, &QWidget::close);
  connect(ui_.command1, &QPushButton::clicked, this,
          [this] { values_->show(values_->form3()); });
  frameMonitor_ = monitor::FrameMonitorLauncher::after(*ui_.frame7, *this, busEvents(),
                                                       platform_, kProgramName);
  startUp();
}

BusEvents& ProgrammerWindow::busEvents() { return link_->events(); }

ProgrammerWindow::~ProgrammerWindow() {
  // Replies must not reach handlers that are being torn down.
  link_->setReplies(nullptr);
}

void ProgrammerWindow::startUp() {
  state_.expert = 0;
  ui_.text1->setText(QStringLiteral("1"));

  const QString arguments = platform_.environment.argumentString();
  const int level = expertLevelFor(arguments);
  if (level > 0) {
    state_.expert = level;
    ui_.label11->setText(QStringLiteral("Expert Mode"));
    ui_.label11->show();
    if (level == 1) {
      values_->show(values_->form2());
    } else {
      ui_.text1->setText(QStringLiteral("0"));
      values_->show(values_->form3());
    }
  } else if (arguments == QLatin1String("-?")) {
    ctx_->box(QStringLiteral("-e (-E) or -se (-SE) for expert mode"), BoxIcon::Information);
  }

  ui_.combo2->clear();
  for (int n = 1; n <= 19; ++n) ui_.combo2->addItem(QStringLiteral("COM%1").arg(n));
  ui_.combo2->setCurrentText(QStringLiteral("COM1"));

  ui_.command38->setEnabled(false);
  ctx_->startText();
  ui_.text2->setText(QStringLiteral("1"));
  ui_.text3->setText(QStringLiteral("5"));
  ui_.text4->setText(QStringLiteral("0"));
  ui_.text5->setText(QStringLiteral("1"));

  modes_->closedLayout();
  ui_.option4->setChecked(true);
  lineCheck_->enable(false);
  modes_->select(*ui_.option1);
  // Beyond the first start: the ports present, and the port opened last time.
  status_->ports().addPresentPorts();
  restoreLastPort(platform_.settings, *ui_.combo2);
}

void ProgrammerWindow::closeEvent(QCloseEvent* event) {
  values_->closeAll();
  QWidget::closeEvent(event);
}

}  // namespace zelta::programmer
