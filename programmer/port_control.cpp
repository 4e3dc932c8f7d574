#include "programmer/port_control.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "platform/clock.h"
#include "programmer/auto_addressing.h"
#include "programmer/mode_switch.h"
#include "programmer/programmer_context.h"
#include "protocol/numbers.h"
#include "widgets/lamp.h"

namespace zelta::programmer {

PortControl::PortControl(const ProgrammerContext& ctx, ModeSwitch& modes,
                         AutoAddressing& autoAddressing, QObject* parent)
    : QObject(parent), ctx_(ctx), modes_(modes), autoAddressing_(autoAddressing) {
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

bool PortControl::openLine() {
  const QString name = ctx_.ui.combo2->currentText();
#ifndef Q_OS_WIN
  if (name.startsWith(QLatin1Char('/'))) return ctx_.platform.line.openDevice(name);
#endif
  ctx_.state.po = portNumberText(name, ctx_.state.po);
  const auto number = strictParse(ctx_.state.po.toStdString());
  if (!number || *number < 1 || *number > 255 || std::floor(*number) != *number) return false;
  return ctx_.platform.line.openPort(static_cast<int>(*number));
}

void PortControl::open() {
  const Form1Controls& ui = ctx_.ui;
  if (!openLine()) {
    ctx_.box(QStringLiteral("Port already open"), BoxIcon::Critical, BoxButtons::Ok,
             QStringLiteral("ZELTA Programmer"));
    ui.command36->setEnabled(true);
    ui.combo2->setEnabled(true);
    ui.command38->setEnabled(false);
    modes_.failedOpenLayout();
    return;
  }
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
