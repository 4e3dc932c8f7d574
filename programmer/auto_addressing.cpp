#include "programmer/auto_addressing.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/clock.h"
#include "programmer/address_fields.h"
#include "programmer/programmer_context.h"
#include "programmer/programmer_link.h"
#include "protocol/requests.h"

namespace zelta::programmer {
namespace {
const QString kSetModul = QStringLiteral("Set Modul ");
}

AutoAddressing::AutoAddressing(const ProgrammerContext& ctx, QObject* parent)
    : QObject(parent), ctx_(ctx) {
  connect(ctx_.ui.command6, &QPushButton::clicked, this, &AutoAddressing::startPressed);
  connect(ctx_.ui.command5, &QPushButton::clicked, this, &AutoAddressing::stopPressed);
  connect(&ctx_.timer(12), &Timer::tick, this, &AutoAddressing::automaticStart);
  connect(&ctx_.timer(9), &Timer::tick, this, [this] {
    set_address_a(addressValue(ctx_.state.adr1));
    ctx_.timer(9).stop();
  });
  connect(&ctx_.timer(6), &Timer::tick, this, &AutoAddressing::resetStep);
  connect(&ctx_.timer(7), &Timer::tick, this, &AutoAddressing::afterConfirmation);
  connect(&ctx_.timer(8), &Timer::tick, this, [this] {
    next_adr();
    ctx_.timer(8).stop();
  });
}

void AutoAddressing::stop_adr() { ctx_.link.send(request::stopAutoAddressing()); }

void AutoAddressing::startPressed() {
  if (!acceptAddressFields(ctx_, {{ctx_.ui.text2, QStringLiteral("Start Address")},
                                  {ctx_.ui.text3, QStringLiteral("End Address")}}))
    return;
  ctx_.wakeUp(ctx_.timer(12));
}

void AutoAddressing::stopPressed() {
  ctx_.timer(5).stop();
  ctx_.startText();
  stop_adr();
  ctx_.state.start = 0;
  ctx_.timer(6).stop();
  // Nothing stopped starts again by itself: not the pending wake-up (and its
  // reset question), nor the first or the next set-address request.
  for (int n : {12, 9, 8}) ctx_.timer(n).stop();
}

void AutoAddressing::automaticStart() {
  ProgrammerState& s = ctx_.state;
  const Address first = readAddress(*ctx_.ui.text2);
  if (!first) {  // the field was changed to something unusable since "Start"
    ctx_.timer(12).stop();
    return;
  }
  s.start = 1;
  s.autoRun = 1;
  stop_adr();
  s.adr1 = first;
  if (!ctx_.ui.check1->isChecked()) {
    ctx_.timer(9).start();
    ctx_.timer(12).stop();
    return;
  }
  // "No" leaves Timer12 running: the question comes back with its next tick.
  const BoxAnswer answer = ctx_.askBeforeChanging(
      QStringLiteral("Are you sure to set all modules to address 0?"),
      QStringLiteral("Reset Addresses"));
  if (answer != BoxAnswer::Yes) return;
  reset_address_a(*first);
  ctx_.timer(6).start();
  ctx_.timer(12).stop();
}

void AutoAddressing::resetStep() {
  ProgrammerState& s = ctx_.state;
  const Address end = readAddress(*ctx_.ui.text3);
  if (!end) return;  // nothing can be sent while the end is no address
  if (addressValue(s.adr1) >= *end) {
    ctx_.timer(6).stop();
    return;
  }
  s.adr1 = static_cast<std::uint16_t>(addressValue(s.adr1) + 1);
  reset_address_a(*s.adr1);
  if (*s.adr1 >= *end) ctx_.timer(6).stop();
}

void AutoAddressing::afterConfirmation() {
  stop_adr();
  if (ctx_.state.start == 1) ctx_.timer(8).start();
  ctx_.timer(7).stop();
}

void AutoAddressing::next_adr() {
  ProgrammerState& s = ctx_.state;
  const Address end = readAddress(*ctx_.ui.text3);
  if (!end || addressValue(s.adr1) >= *end) return;
  s.adr1 = static_cast<std::uint16_t>(addressValue(s.adr1) + 1);
  set_address_a(*s.adr1);
}

void AutoAddressing::set_address_a(std::uint16_t address) {
  ctx_.title(QStringLiteral("Press Button"),
             QStringLiteral("on Modul ") + addressText(ctx_.state.adr1));
  ctx_.link.send(request::autoAddress(address));
}

void AutoAddressing::reset_address_a(std::uint16_t address) {
  ctx_.title(kSetModul + addressText(ctx_.state.adr1), QStringLiteral("to Address 0"));
  ctx_.link.send(request::resetAddress(address));
}

void AutoAddressing::up_set_auto(std::uint16_t from) {
  const ProgrammerState& s = ctx_.state;
  if (from != addressValue(s.adr1)) {
    ctx_.box(QStringLiteral("Wrong address from last modul dedected. Set the modul address to 0 "
                            "and start with address ") +
                 addressText(s.adr1) + QStringLiteral(" again!"),
             BoxIcon::Critical);
    ctx_.startText();
    return;
  }
  ctx_.title(kSetModul + addressText(s.adr1), QStringLiteral("successful"));
  ctx_.beep();
  ctx_.timer(7).start();  // stop_adr1
}

void AutoAddressing::up_set_address() {
  const ProgrammerState& s = ctx_.state;
  const bool automatic = s.autoRun == 1;
  ctx_.ui.label1->setText(kSetModul +
                          (automatic ? addressText(s.adr1) : ctx_.ui.text4->text()));
  ctx_.ui.label2->setText(QStringLiteral("to 0 successful"));
  ctx_.beep();
  if (automatic) {
    const Address end = readAddress(*ctx_.ui.text3);
    if (end && addressValue(s.adr1) == *end) ctx_.timer(5).start();
  } else {
    ctx_.timer(5).start();
  }
}

void AutoAddressing::up_set_address1(std::uint16_t newAddress) {
  ctx_.title(kSetModul + ctx_.ui.text4->text(),
             QStringLiteral("to %1 successful").arg(newAddress));
  ctx_.beep();
  ctx_.timer(5).start();
}

}  // namespace zelta::programmer
