#include "programmer/manual_addressing.h"

#include <QLineEdit>
#include <QPushButton>

#include "platform/clock.h"
#include "programmer/address_fields.h"
#include "programmer/programmer_context.h"
#include "programmer/programmer_link.h"
#include "programmer/value_windows.h"
#include "protocol/requests.h"

namespace zelta::programmer {

ManualAddressing::ManualAddressing(const ProgrammerContext& ctx, QObject* parent)
    : QObject(parent), ctx_(ctx) {
  connect(ctx_.ui.command2, &QPushButton::clicked, this, &ManualAddressing::setPressed);
  connect(&ctx_.timer(11), &Timer::tick, this, &ManualAddressing::run);
  connect(&ctx_.timer(10), &Timer::tick, this, [this] { readBack(10); });
  connect(&ctx_.timer(17), &Timer::tick, this, [this] { readBack(17); });
}

void ManualAddressing::setPressed() {
  if (!acceptAddressFields(ctx_, {{ctx_.ui.text4, QStringLiteral("Current Address")},
                                  {ctx_.ui.text1, QStringLiteral("New Adress")}}))
    return;
  ctx_.values.hideNotices();
  ctx_.wakeUp(ctx_.timer(11));
}

void ManualAddressing::run() {
  ctx_.timer(11).stop();
  ctx_.values.clearValues();
  const Address oldAddress = readAddress(*ctx_.ui.text4);
  const Address newAddress = readAddress(*ctx_.ui.text1);
  if (!oldAddress || !newAddress) return;  // changed to something unusable since "Set"

  const int level = ctx_.state.expert;
  if (level == 0) {
    const BoxAnswer answer = ctx_.askBeforeChanging(
        QStringLiteral("Please check whether only one module is connected to the bus or module ") +
            ctx_.ui.text4->text() + QStringLiteral(" is present only one times"),
        QStringLiteral("Manual Addressing"));
    if (answer != BoxAnswer::Yes) return;
  }
  ctx_.state.autoRun = 0;
  ctx_.state.adr3 = oldAddress;
  ctx_.state.adr4 = newAddress;
  set_address_m(*oldAddress, *newAddress);
  ctx_.timer(level == 2 ? 17 : 10).start();
}

void ManualAddressing::set_address_m(std::uint16_t oldAddress, std::uint16_t newAddress) {
  ctx_.title(QStringLiteral("Set Modul %1").arg(oldAddress),
             QStringLiteral("to Address %1").arg(newAddress));
  ctx_.link.send(request::setAddress(oldAddress, newAddress));
}

void ManualAddressing::readBack(int timerNumber) {
  ctx_.timer(timerNumber).stop();
  if (const Address address = readAddress(*ctx_.ui.text1))
    ctx_.link.send(request::collective(*address));
}

}  // namespace zelta::programmer
