// Automatic addressing and the reset sweep of the "Automatic" frame. The
// programmer broadcasts that the module whose button is pressed next takes
// address N, waits as long as it takes for that module's answer, confirms it
// with a beep and moves on to N + 1 up to the end address. With "Set all
// address to 0" checked the same frame resets the address range to 0 instead.
// The confirmations of every set-address request, the manual ones included,
// are shown here.
#pragma once

#include <QObject>
#include <cstdint>

namespace zelta::programmer {

struct ProgrammerContext;

class AutoAddressing : public QObject {
  Q_OBJECT
 public:
  explicit AutoAddressing(const ProgrammerContext& ctx, QObject* parent = nullptr);

  // The stop broadcast: every module leaves automatic addressing.
  void stop_adr();

  // Replies.
  void up_set_auto(std::uint16_t from);
  void up_set_address();
  void up_set_address1(std::uint16_t newAddress);

 private:
  void startPressed();
  void stopPressed();
  void automaticStart();  // Timer12
  void resetStep();       // Timer6
  void afterConfirmation();  // Timer7
  void next_adr();        // Timer8
  void set_address_a(std::uint16_t address);
  void reset_address_a(std::uint16_t address);

  const ProgrammerContext& ctx_;
};

}  // namespace zelta::programmer
