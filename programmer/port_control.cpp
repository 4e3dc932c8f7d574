#include "programmer/port_control.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "platform/clock.h"
#include "programmer/auto_addressing.h"
#include "programmer/mode_switch.h"
#include "programmer/programmer_context.h"
#include "programmer/status_lines.h"
#include "protocol/numbers.h"
#include "widgets/lamp.h"
#include "widgets/line_watch.h"
#include "widgets/port_chooser.h"
#include "widgets/remembered_port.h"

namespace zelta::programmer {

PortControl::PortControl(const ProgrammerContext& ctx, ModeSwitch& modes,
                         AutoAddressing& autoAddressing, StatusLines& status, QObject* parent)
    : QObject(parent), ctx_(ctx), modes_(modes), autoAddressing_(autoAddressing), status_(status) {
  const Form1Controls& ui = ctx_.ui;
  connect(ui.combo2, &QComboBox::textActivated, this, [this](const QString& name) {
    ctx_.state.po = portNumberText(name, ctx_.state.po);
  });
  connect(ui.command36, &QPushButton::clicked, this, &PortControl::open);
  connect(ui.command38, &QPushButton::clicked, this, &PortControl::close);
}

QString PortControl::portNumberText(const QString& name, const QString& po) {
  if (name.size() == 4) return name.right(1);
  if (name.size() == 5) return name.right(2);
  return po;
}

LineError PortControl::openLine() {
  const QString name = ctx_.ui.combo2->currentText();
  SerialLine& line = ctx_.platform.line;
#ifndef Q_OS_WIN
  if (name.startsWith(QLatin1Char('/'))) return line.openDevice(name) ? LineError{} : line.lastError();
#endif
  ctx_.state.po = portNumberText(name, ctx_.state.po);
  const auto number = strictParse(ctx_.state.po.toStdString());
  if (!number || *number < 1 || *number > 255 || std::floor(*number) != *number)
    return {LineError::Kind::NoPortNumber, name, {}};
  return line.openPort(static_cast<int>(*number)) ? LineError{} : line.lastError();
}

void PortControl::open() {
  const Form1Controls& ui = ctx_.ui;
  const QString name = ui.combo2->currentText();
  const LineError failure = openLine();
  status_.ports().refresh();
  if (failure.kind != LineError::Kind::None) {
    BoxRequest box{QStringLiteral("Port already open"), QStringLiteral("ZELTA Programmer"),
                   BoxIcon::Critical, BoxButtons::Ok};
    box.detail = status_.line().openFailed(name, failure);
    ctx_.platform.boxes.show(&ctx_.form, box);
    ui.command36->setEnabled(true);
    ui.combo2->setEnabled(true);
    ui.command38->setEnabled(false);
    modes_.failedOpenLayout();
    return;
  }
  status_.line().opened(name);
  noteLastPort(ctx_.platform.settings, name, ctx_.state.po);
  ui.command36->setEnabled(false);
  ui.command38->setEnabled(true);
  ui.combo2->setEnabled(false);
  for (QRadioButton* o : {ui.option1, ui.option2, ui.option3}) o->setEnabled(true);
  modes_.select(*ui.option1);
  autoAddressing_.stop_adr();
  modes_.automaticFrameOn();
  if (ctx_.state.expert == 2) {
    ui.option1->setEnabled(false);
    ui.option2->setEnabled(true);
    modes_.select(*ui.option2);
  }
  // The mode's "Start", not "Quit", which the next Space would press.
  (ctx_.state.expert == 2 ? ui.command3 : ui.command6)->setFocus();
}

void PortControl::close() {
  const Form1Controls& ui = ctx_.ui;
  modes_.closedLayout();
  ctx_.platform.line.close();
  ui.command36->setEnabled(true);
  ui.command38->setEnabled(false);
  ui.combo2->setEnabled(true);
  for (int n = 1; n <= 11; ++n) ctx_.timer(n).stop();
  ctx_.cancelWakeUps();  // no question of a start action comes after Close
  // Their timers are stopped with the rest, so the lamps go dark here.
  ui.txanz->setColour(colour::DarkGreen);
  ui.rxanz->setColour(colour::DarkGreen);
}

}  // namespace zelta::programmer
