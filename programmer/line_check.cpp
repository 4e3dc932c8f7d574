#include "programmer/line_check.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "platform/clock.h"
#include "programmer/programmer_context.h"

namespace zelta {
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

void LineCheck::up_rec_check(std::uint16_t) {}

}  // namespace zelta
