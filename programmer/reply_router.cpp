#include "programmer/reply_router.h"

#include <QLineEdit>

#include "programmer/address_fields.h"
#include "programmer/address_search.h"
#include "programmer/auto_addressing.h"
#include "programmer/line_check.h"
#include "programmer/module_search.h"
#include "programmer/programmer_context.h"
#include "programmer/programmer_link.h"
#include "programmer/value_windows.h"
#include "protocol/numbers.h"
#include "protocol/requests.h"

namespace zelta::programmer {

ReplyRouter::ReplyRouter(const ProgrammerContext& ctx, ModuleSearch& moduleSearch,
                         AddressSearch& addressSearch, AutoAddressing& autoAddressing,
                         LineCheck& lineCheck)
    : ctx_(ctx),
      moduleSearch_(moduleSearch),
      addressSearch_(addressSearch),
      autoAddressing_(autoAddressing),
      lineCheck_(lineCheck) {}

void ReplyRouter::up_z_auswert(const Frame&, double milliohm) {
  ctx_.values.showImpedance(milliohm);
}

void ReplyRouter::up_sammel_auswert(const Frame&, const decode::CollectiveReading& r) {
  ctx_.values.showCollective(r);
  QLineEdit& newAddress = *ctx_.ui.text1;
  if (ctx_.state.expert != 2) {
    // A field that holds no number is left as it is.
    if (const auto value = strictParse(newAddress.text().toStdString()))
      newAddress.setText(generalText(*value + 1));
    return;
  }
  if (const Address address = readAddress(newAddress))
    ctx_.link.send(request::programmerImpedance(*address));
}

void ReplyRouter::up_modul_search(const Frame&) { moduleSearch_.up_modul_search(); }

void ReplyRouter::up_address_search(const Frame&, std::uint16_t address) {
  addressSearch_.up_address_search(address);
}

void ReplyRouter::up_set_address(const Frame&) { autoAddressing_.up_set_address(); }

void ReplyRouter::up_set_address1(const Frame&, std::uint16_t newAddress) {
  autoAddressing_.up_set_address1(newAddress);
}

void ReplyRouter::up_set_auto(const Frame&, std::uint16_t from) {
  autoAddressing_.up_set_auto(from);
}

void ReplyRouter::up_rec_check(const Frame&, std::uint16_t number) {
  lineCheck_.up_rec_check(number);
}

void ReplyRouter::temperatureReply(const Frame&) { moduleSearch_.temperatureReply(); }

}  // namespace zelta::programmer
