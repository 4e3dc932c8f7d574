#include "programmer/address_search.h"

#include <QLineEdit>
#include <QPushButton>

#include "platform/clock.h"
#include "programmer/programmer_context.h"
#include "programmer/programmer_link.h"
#include "protocol/requests.h"

namespace zelta::programmer {

AddressSearch::AddressSearch(const ProgrammerContext& ctx, QObject* parent)
    : QObject(parent), ctx_(ctx) {
  connect(ctx_.ui.command3, &QPushButton::clicked, this,
          [this] { ctx_.wakeUp(ctx_.timer(16)); });
  connect(&ctx_.timer(16), &Timer::tick, this, &AddressSearch::ask);
}

void AddressSearch::ask() {
  // "No" leaves Timer16 running, so the question comes back 4000 ms later.
  const BoxAnswer answer = ctx_.box(
      QStringLiteral("Please check whether only one module is connected to the bus"),
      BoxIcon::None, BoxButtons::YesNo, QStringLiteral("Request module address"));
  if (answer != BoxAnswer::Yes) return;
  ctx_.title(QStringLiteral("Address search"), QStringLiteral("started"));
  ctx_.link.send(request::addressQuery());
  ctx_.timer(2).start();
  ctx_.timer(16).stop();
}

void AddressSearch::up_address_search(std::uint16_t address) {
  ctx_.timer(2).stop();
  ctx_.title(QStringLiteral("Current Modul"), QStringLiteral("Address is  %1").arg(address));
  ctx_.ui.text4->setText(QString::number(address));
  ctx_.timer(5).start();
}

}  // namespace zelta::programmer
