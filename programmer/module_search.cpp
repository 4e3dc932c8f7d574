#include "programmer/module_search.h"

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
const QString kModul = QStringLiteral("Modul ");
}

ModuleSearch::ModuleSearch(const ProgrammerContext& ctx, QObject* parent)
    : QObject(parent), ctx_(ctx) {
  connect(ctx_.ui.command7, &QPushButton::clicked, this, &ModuleSearch::startPressed);
  connect(ctx_.ui.command4, &QPushButton::clicked, this, &ModuleSearch::stopPressed);
  connect(&ctx_.timer(15), &Timer::tick, this, &ModuleSearch::searchProper);
  connect(&ctx_.timer(14), &Timer::tick, this, &ModuleSearch::poll);
  connect(&ctx_.timer(3), &Timer::tick, this, [this] {
    ctx_.title(QStringLiteral("Press Stop or"),
               QStringLiteral("Button on Modul ") + addressText(ctx_.state.adr5));
    ctx_.timer(3).stop();
  });
  connect(&ctx_.timer(2), &Timer::tick, this, [this] {
    ctx_.link.answerMissing();
    ctx_.title(QStringLiteral("No answer from"), kModul + addressText(ctx_.state.adr5));
    ctx_.timer(2).stop();
  });
  connect(&ctx_.timer(13), &Timer::tick, this, [this] {
    ctx_.startText();
    ctx_.timer(13).stop();
  });
}

void ModuleSearch::startPressed() {
  if (!acceptAddressFields(ctx_, {{ctx_.ui.text5, QStringLiteral("Modul Search Address")}}))
    return;
  ctx_.wakeUp(ctx_.timer(15));
}

void ModuleSearch::searchProper() {
  ctx_.timer(15).stop();
  const Address address = readAddress(*ctx_.ui.text5);
  if (!address) return;  // the field was changed to something unusable since "Start"
  ctx_.state.adr5 = address;
  ctx_.title(QStringLiteral("Modul search") + addressText(address), QStringLiteral("started"));
  ctx_.link.send(request::moduleSearch(*address, SearchAction::StartFlashing));
  ctx_.timer(2).start();
}

void ModuleSearch::stopPressed() {
  ctx_.timer(5).stop();
  // A search still waking up is not started afterwards. Once the search has
  // gone out, the stop goes to the module asked to flash, whatever the field
  // holds now; before that, to the field's address.
  const bool waking = ctx_.timer(15).isEnabled();
  ctx_.timer(15).stop();
  Address address = waking || !ctx_.state.adr5 ? readAddress(*ctx_.ui.text5) : ctx_.state.adr5;
  if (!address) address = ctx_.state.adr5;
  ctx_.state.adr5 = address;
  ctx_.title(QStringLiteral("Modul search"), QStringLiteral("stopped"));
  if (address) ctx_.link.send(request::moduleSearch(*address, SearchAction::StopFlashing));
  ctx_.timer(13).start();
  ctx_.timer(14).stop();
}

void ModuleSearch::poll() {
  const Address address = readAddress(*ctx_.ui.text5);
  if (address) ctx_.link.send(request::programmerTemperature(*address));
}

void ModuleSearch::up_modul_search() {
  ctx_.timer(2).stop();
  ctx_.title(kModul + addressText(ctx_.state.adr5) + QStringLiteral(" is"),
             QStringLiteral("green/red flashing "));
  ctx_.timer(14).start();
  ctx_.timer(3).start();
}

void ModuleSearch::temperatureReply() {
  ctx_.timer(14).stop();
  ctx_.startText();
}

}  // namespace zelta::programmer
