// Hands each reply the programmer receives to the procedure it belongs to.
// A collective reply fills the value windows and then, by expert level, moves
// "New Adress:" on by one (levels 0 and 1) or asks the module for its
// impedance (level 2).
#pragma once

#include "protocol/dispatch.h"

namespace zelta::programmer {

struct ProgrammerContext;
class AddressSearch;
class AutoAddressing;
class LineCheck;
class ModuleSearch;

class ReplyRouter final : public ProgrammerReplies {
 public:
  ReplyRouter(const ProgrammerContext& ctx, ModuleSearch& moduleSearch,
              AddressSearch& addressSearch, AutoAddressing& autoAddressing, LineCheck& lineCheck);

  void up_z_auswert(const Frame& f, double milliohm) override;
  void up_sammel_auswert(const Frame& f, const decode::CollectiveReading& r) override;
  void up_modul_search(const Frame& f) override;
  void up_address_search(const Frame& f, std::uint16_t address) override;
  void up_set_address(const Frame& f) override;
  void up_set_address1(const Frame& f, std::uint16_t newAddress) override;
  void up_set_auto(const Frame& f, std::uint16_t from) override;
  void up_rec_check(const Frame& f, std::uint16_t number) override;
  void temperatureReply(const Frame& f) override;

 private:
  const ProgrammerContext& ctx_;
  ModuleSearch& moduleSearch_;
  AddressSearch& addressSearch_;
  AutoAddressing& autoAddressing_;
  LineCheck& lineCheck_;
};

}  // namespace zelta::programmer
