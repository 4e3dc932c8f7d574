#include "programmer/mode_switch.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <vector>

#include "platform/clock.h"
#include "programmer/line_check.h"
#include "programmer/programmer_context.h"

namespace zelta::programmer {
namespace {

using Group = std::vector<QWidget*>;

void setAll(const Group& widgets, bool on) {
  for (QWidget* w : widgets) w->setEnabled(on);
}

Group automaticGroup(const Form1Controls& ui) {
  return {ui.frame1, ui.text2, ui.text3, ui.check1, ui.command6, ui.command5, ui.label6, ui.label7};
}
Group moduleSearchGroup(const Form1Controls& ui) {
  return {ui.frame3, ui.text5, ui.command7, ui.command4, ui.label5};
}
Group addressSearchGroup(const Form1Controls& ui) { return {ui.frame5, ui.command3, ui.label8}; }
Group manualGroup(const Form1Controls& ui) {
  return {ui.frame2, ui.text4, ui.text1, ui.command2, ui.label3, ui.label4, ui.label10,
          ui.command1};
}
Group lineCheckGroup(const Form1Controls& ui) {
  return {ui.frame7, ui.option4, ui.option5, ui.command8, ui.command9};
}

}  // namespace

ModeSwitch::ModeSwitch(const ProgrammerContext& ctx, LineCheck& lineCheck, QObject* parent)
    : QObject(parent), ctx_(ctx), lineCheck_(lineCheck) {
  const Form1Controls& ui = ctx_.ui;
  connect(ui.option1, &QRadioButton::toggled, this, [this](bool on) {
    if (on) automaticMode();
  });
  connect(ui.option2, &QRadioButton::toggled, this, [this](bool on) {
    if (on) manualMode();
  });
  connect(ui.option3, &QRadioButton::toggled, this, [this](bool on) {
    if (on) lineCheckMode();
  });
}

void ModeSwitch::select(QRadioButton& option) { option.setChecked(true); }

bool ModeSwitch::portOpen() const { return ctx_.ui.command38->isEnabled(); }

void ModeSwitch::apply(Layout layout) {
  const Form1Controls& ui = ctx_.ui;
  const bool manual = layout == Layout::Manual || layout == Layout::ManualLocked;
  setAll(automaticGroup(ui), layout == Layout::Automatic);
  setAll(moduleSearchGroup(ui), layout == Layout::Manual);
  setAll(addressSearchGroup(ui), manual);
  setAll(manualGroup(ui), manual);
  setAll(lineCheckGroup(ui), layout == Layout::LineCheck);
  if (layout == Layout::ManualLocked) ui.option1->setEnabled(false);
}

void ModeSwitch::automaticMode() {
  ctx_.cancelWakeUps();
  if (!portOpen()) return;
  apply(Layout::Automatic);
  ctx_.timer(20).stop();
  ctx_.ui.check1->setChecked(false);
  ctx_.startText();
}

void ModeSwitch::manualMode() {
  ctx_.cancelWakeUps();
  const bool locked = ctx_.state.expert == 2;
  apply(locked ? Layout::ManualLocked : Layout::Manual);
  ctx_.timer(20).stop();
  if (locked) {
    ctx_.ui.option2->setEnabled(true);
    ctx_.ui.option2->setChecked(true);
  }
  ctx_.startText();
}

void ModeSwitch::lineCheckMode() {
  ctx_.cancelWakeUps();
  if (!portOpen()) return;
  apply(Layout::LineCheck);
  ctx_.timer(20).stop();
  ctx_.ui.check1->setChecked(false);
  lineCheck_.enterMode();
}

void ModeSwitch::closedLayout() {
  const Form1Controls& ui = ctx_.ui;
  failedOpenLayout();
  ui.option3->setEnabled(false);
  setAll(lineCheckGroup(ui), false);
  ui.receiveInfo->setEnabled(false);
}

void ModeSwitch::failedOpenLayout() {
  const Form1Controls& ui = ctx_.ui;
  setAll({ui.option1, ui.option2}, false);
  setAll(automaticGroup(ui), false);
  setAll(moduleSearchGroup(ui), false);
  setAll(addressSearchGroup(ui), false);
  setAll(manualGroup(ui), false);
}

void ModeSwitch::automaticFrameOn() {
  const Form1Controls& ui = ctx_.ui;
  setAll(automaticGroup(ui), true);
  setAll({ui.option1, ui.option2}, true);
}

}  // namespace zelta::programmer
