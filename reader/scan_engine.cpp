#include "scan_engine.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include "enabled_states.h"
#include "field_rules.h"
#include "number_text.h"
#include "platform/clock.h"
#include "protocol/requests.h"
#include "reader_controls.h"
#include "reader_state.h"
#include "widgets/lamp.h"

namespace zelta {
namespace {

struct Stepper {
  const char* caption;
  Frame (*request)(std::uint16_t);
};

// Indexed by scan phase 1 to 6.
const Stepper kSteppers[7] = {
    {"", nullptr},
    {"Module Type Module: ", request::moduleType},
    {"Hardware Type Module: ", request::hardwareRevision},
    {"Software Type Module: ", request::softwareRevision},
    {"Voltage Module: ", request::readerVoltage},
    {"Temperature Module: ", request::readerTemperature},
    {"Impedance Module: ", request::readerImpedance},
};

constexpr int kImpedanceAnswerMs = 1450;

}  // namespace

ScanEngine::ScanEngine(Clock& clock, ReaderState& state, const ReaderControls& c, ReaderLink& link,
                       QWidget& form1, Hooks hooks)
    : QObject(&form1),
      clock_(clock),
      state_(state),
      c_(c),
      link_(link),
      form1_(form1),
      hooks_(std::move(hooks)),
      timer3_(makeTimer("Timer3", 60000)),
      timer5_(makeTimer("Timer5", 300)),
      timer11_(makeTimer("Timer11", 300)),
      timer13_(makeTimer("Timer13", 300)),
      timer15_(makeTimer("Timer15", 300)),
      timer17_(makeTimer("Timer17", 300)),
      timer9_(makeTimer("Timer9", 1500)),
      timer12_(makeTimer("Timer12", 10)),
      timer8_(makeTimer("Timer8", 280)),
      timer10_(makeTimer("Timer10", 1500)),
      ma_(*c.ma, *makeTimer("Timer6", 100), colour::Red, colour::DarkRed) {
  for (int phase = ModuleType; phase <= Impedance; ++phase)
    connect(phaseTimer(phase), &Timer::tick, this, [this, phase] { step(phase); });
  connect(timer12_, &Timer::tick, this, &ScanEngine::fastStepTick);
  connect(timer8_, &Timer::tick, this, &ScanEngine::missingAnswerTick);
  connect(timer10_, &Timer::tick, this, &ScanEngine::endOfPauseTick);
  connect(timer3_, &Timer::tick, this, &ScanEngine::minuteTick);

  connect(c_.command16, &QPushButton::clicked, this, &ScanEngine::start);
  connect(c_.command17, &QPushButton::clicked, this, &ScanEngine::stop);
  connect(c_.option3[0], &QRadioButton::toggled, this, [this](bool on) {
    if (on) pollFast();
  });
  connect(c_.option3[1], &QRadioButton::toggled, this, [this](bool on) {
    if (on) pollMedium();
  });
  connect(c_.option3[2], &QRadioButton::toggled, this, [this](bool on) {
    if (on) pollSlow();
  });
  connect(c_.text8, &QLineEdit::textChanged, this, &ScanEngine::startAddressChanged);
  connect(c_.text45, &QLineEdit::textChanged, this, &ScanEngine::endAddressChanged);
  connect(c_.text1, &QLineEdit::textChanged, this, &ScanEngine::countdownChanged);
}

Timer* ScanEngine::makeTimer(const char* name, int ms) {
  return new Timer(clock_, QString::fromLatin1(name), ms, &form1_);
}

Timer* ScanEngine::phaseTimer(int phase) const {
  switch (phase) {
    case ModuleType:
      return timer5_;
    case Hardware:
      return timer11_;
    case Software:
      return timer13_;
    case Voltage:
      return timer15_;
    case Temperature:
      return timer17_;
    case Impedance:
      return timer9_;
    default:
      return nullptr;
  }
}

void ScanEngine::setPhaseInterval(int ms) {
  for (Timer* t : {timer5_, timer11_, timer13_, timer15_, timer17_}) t->setInterval(ms);
}

int ScanEngine::answerIntervalForRate() const { return state_.opt3 == 2 ? 980 : 280; }

void ScanEngine::pollFast() {
  setPhaseInterval(300);
  timer8_->setInterval(280);
  state_.opt3 = 0;
  // Arming the stepping of a stopped scan would let its last reply or
  // time-out start it again.
  if (running_) state_.fast = 1;
}

void ScanEngine::pollMedium() {
  setPhaseInterval(300);
  timer8_->setInterval(280);
  state_.opt3 = 1;
}

void ScanEngine::pollSlow() {
  setPhaseInterval(1000);
  timer8_->setInterval(980);
  state_.opt3 = 2;
}

void ScanEngine::start() {
  state_.pollrate = ModuleType;
  if (c_.check1->isChecked() && hooks_.clearOldValues) hooks_.clearOldValues();
  const double first = lenientNumber(c_.text8->text());
  if (first >= lenientNumber(c_.text45->text())) c_.text45->setText(generalText(first));
  applyEnabledState(form1_, WindowChange::ScanStart);
  c_.text1->setText("1");
  if (c_.check7->isChecked()) timer3_->setEnabled(true);
  state_.adr = lenientNumber(state_.start_adr);
  timer8_->setInterval(answerIntervalForRate());
  if (state_.opt3 == 0) state_.fast = 1;
  running_ = true;
  timer5_->setEnabled(true);
}

void ScanEngine::stop() {
  applyEnabledState(form1_, WindowChange::ScanStop);
  haltScanTimers();
}

void ScanEngine::haltScanTimers() {
  for (Timer* t : {timer3_, timer5_, timer9_, timer10_, timer11_, timer13_, timer15_, timer17_})
    t->setEnabled(false);
  state_.fast = 0;
  running_ = false;
  endPassDue_ = true;
  if (!timer8_->isEnabled()) requestSettled();
}

void ScanEngine::requestSettled() {
  if (!endPassDue_) return;
  endPassDue_ = false;
  if (hooks_.scanEnded) hooks_.scanEnded();
}

void ScanEngine::step(int phase) {
  const Stepper& s = kSteppers[phase];
  c_.label37->setText(QString::fromLatin1(s.caption));
  link_.request(s.request);
  timer8_->setEnabled(true);
  if (state_.adr >= lenientNumber(state_.end_adr))
    endOfSweep(phase);
  else
    state_.adr += 1;
}

void ScanEngine::endOfSweep(int phase) {
  if (phase == Impedance) c_.text1->setText("15");
  state_.adr = lenientNumber(state_.start_adr);
  phaseTimer(phase)->setEnabled(false);
  switch (phase) {
    case Temperature:
      if (c_.check7->isChecked() && strictNumber(c_.text1->text()) == 0.0) {
        timer8_->setInterval(kImpedanceAnswerMs);
        timer9_->setEnabled(true);
        state_.pollrate = Impedance;
      } else {
        timer15_->setEnabled(true);
        state_.pollrate = Voltage;
      }
      break;
    case Impedance:
      timer10_->setEnabled(true);
      break;
    default:
      state_.pollrate = phase + 1;
      phaseTimer(phase + 1)->setEnabled(true);
      break;
  }
}

void ScanEngine::fastStepTick() {
  // Stop, Close and Manual Mode leave a pending fast step alone; stepping
  // then would start the next sweep's timer and the scan would run on.
  Timer* t = state_.fast == 1 ? phaseTimer(state_.pollrate) : nullptr;
  if (t) {
    t->setEnabled(false);
    step(state_.pollrate);
  }
  timer12_->setEnabled(false);
}

void ScanEngine::armFastStepIfDue() {
  if (state_.opt3 == 0 && state_.fast == 1 && state_.pollrate != Impedance)
    timer12_->setEnabled(true);
}

void ScanEngine::missingAnswerTick() {
  link_.answerMissing();
  armFastStepIfDue();
  countUp(*c_.label7);
  ma_.flash();
  timer8_->setEnabled(false);
  requestSettled();
}

void ScanEngine::endOfPauseTick() {
  timer8_->setInterval(answerIntervalForRate());
  state_.pollrate = Voltage;
  timer15_->setEnabled(true);
  timer10_->setEnabled(false);
}

void ScanEngine::minuteTick() {
  const double left = strictNumber(c_.text1->text()).value_or(0) - 1;
  c_.text1->setText(left < 0 ? QStringLiteral("0") : generalText(left));
}

void ScanEngine::answerReceived() { timer8_->setEnabled(false); }

void ScanEngine::replyHandled() {
  armFastStepIfDue();
  requestSettled();
}

void ScanEngine::startAddressChanged() {
  if (auto fix = field_rules::startAddress(c_.text8->text())) {
    c_.text8->setText(*fix);  // runs this handler again with the corrected text
    return;
  }
  state_.start_adr = c_.text8->text();
  state_.adr = lenientNumber(state_.start_adr);
}

void ScanEngine::endAddressChanged() {
  if (auto fix = field_rules::endAddress(c_.text45->text())) {
    c_.text45->setText(*fix);
    return;
  }
  state_.end_adr = c_.text45->text();
}

void ScanEngine::countdownChanged() {
  if (auto fix = field_rules::countdown(c_.text1->text())) c_.text1->setText(*fix);
}

}  // namespace zelta
