// Manual addressing: gives the module at "Current Address:" the address in
// "New Adress:", after a wake-up and, at expert level 0, the installer's
// confirmation that only one module answers to that address. 1500 ms after the
// request the module's values are read back from its new address.
#pragma once

#include <QObject>
#include <cstdint>

namespace zelta::programmer {

struct ProgrammerContext;

class ManualAddressing : public QObject {
  Q_OBJECT
 public:
  explicit ManualAddressing(const ProgrammerContext& ctx, QObject* parent = nullptr);

 private:
  void setPressed();
  void run();  // Timer11: prog1 / prog2 / prog3 by expert level
  void set_address_m(std::uint16_t oldAddress, std::uint16_t newAddress);
  void readBack(int timerNumber);  // Timer10 / Timer17

  const ProgrammerContext& ctx_;
};

}  // namespace zelta::programmer
