#include "programmer/line_check.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>

#include "platform/clock.h"
#include "programmer/programmer_context.h"
#include "programmer/programmer_link.h"
#include "protocol/commands.h"
#include "protocol/requests.h"

namespace zelta::programmer {
namespace {
const QString kLineCheck = QStringLiteral("Line Check");
}

LineCheck::LineCheck(const ProgrammerContext& ctx, QObject* parent)
    : QObject(parent), ctx_(ctx) {
  const Form1Controls& ui = ctx_.ui;
  for (QRadioButton* option : {ui.option4, ui.option5})
    connect(option, &QRadioButton::toggled, this, [this](bool on) {
      if (on) enable(true);
    });
  connect(ui.command8, &QPushButton::clicked, this, &LineCheck::start);
  connect(ui.command9, &QPushButton::clicked, this, &LineCheck::stop);
  connect(ui.receiveInfo, &QPushButton::clicked, this, [this] {
    ctx_.box(BoxRequest{.text = infoText(),
                        .title = kLineCheck,
                        .icon = BoxIcon::Information,
                        .keepLines = true});
  });
  connect(&ctx_.timer(18), &Timer::tick, this, [this] { ledStep(true); });
  connect(&ctx_.timer(19), &Timer::tick, this, [this] { ledStep(false); });
  connect(&ctx_.timer(20), &Timer::tick, this,
          [this] { ctx_.link.send(request::collective(cmd::WakeUpAddress)); });
}

void LineCheck::enable(bool on) {
  const Form1Controls& ui = ctx_.ui;
  for (QPushButton* b : {ui.command8, ui.command9, ui.receiveInfo}) b->setEnabled(on);
  ctx_.timer(20).stop();
  if (ui.option3->isChecked() && on) ctx_.title(kLineCheck, QString());
}

void LineCheck::enterMode() {
  const Form1Controls& ui = ctx_.ui;
  for (QWidget* w : std::initializer_list<QWidget*>{ui.frame7, ui.option4, ui.option5,
                                                     ui.command8, ui.command9})
    w->setEnabled(true);
  ctx_.timer(20).stop();
  ui.option4->setChecked(true);
  enable(true);
}

void LineCheck::start() {
  if (ctx_.ui.option4->isChecked()) {
    ctx_.link.send(request::setLed(LedState::Green));
    ctx_.timer(18).start();
    ctx_.timer(19).stop();
  } else {
    ctx_.timer(20).start();
  }
}

void LineCheck::stop() {
  ctx_.title(kLineCheck, QString());
  if (ctx_.ui.option4->isChecked()) {
    ctx_.link.send(request::setLed(LedState::Off));
    ctx_.timer(18).stop();
    ctx_.timer(19).stop();
  } else {
    ctx_.link.send(request::ping(0, 0));
  }
  ctx_.timer(20).stop();
}

// Timer18 switches to red and hands over to Timer19, which switches to green.
void LineCheck::ledStep(bool red) {
  ctx_.title(kLineCheck, red ? QStringLiteral("Set LED red") : QStringLiteral("Set LED green"));
  ctx_.link.send(request::setLed(red ? LedState::Red : LedState::Green));
  ctx_.timer(red ? 18 : 19).stop();
  ctx_.timer(red ? 19 : 18).start();
}

void LineCheck::up_rec_check(std::uint16_t number) {
  const Form1Controls& ui = ctx_.ui;
  if (!ui.option5->isChecked() || !ui.option3->isChecked()) return;
  ui.label2->setText(QString::number(number));
  if (ui.label2->text() == QStringLiteral("0"))
    ctx_.box(QStringLiteral("To restart test, reconnect module."), BoxIcon::Information,
             BoxButtons::Ok, kLineCheck);
}

QString LineCheck::infoText() {
  const QStringList lines = {
      QStringLiteral("About Line Check:"),
      QString(),
      QStringLiteral("    Line Check can only run, if all modules have address \"0\"."),
      QString(),
      QStringLiteral("    1. Send Line: "),
      QStringLiteral("        a. Click \"Start\""),
      QStringLiteral("        All modules should start flashing their LED"),
      QStringLiteral("          red/green."),
      QStringLiteral("        GOOD: If the LEDs on all modules blink red/green."),
      QStringLiteral("        BAD:  If the LEDs on one or more modules do not blink."),
      QString(),
      QStringLiteral("    2. Receive Line: "),
      QStringLiteral("        a. Click \"Start\" to start listening for messages."),
      QStringLiteral("        b. Remove power from one module."),
      QStringLiteral("        c. While keeping module button pressed, reattach power."),
      QStringLiteral("        Module will start transmitting 300 numbered messages (300 to 0)."),
      QStringLiteral("        GOOD: If the number on the display counts down evenly."),
      QStringLiteral("        BAD:  If no number is to be seen on the display, "),
      QStringLiteral("          or the number jumps multiple counts on any update."),
      QString(),
      QStringLiteral("    Click \"Stop\" when done."),
  };
  return lines.join(QStringLiteral("\r\n"));
}

}  // namespace zelta::programmer
