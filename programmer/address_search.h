// The address search: asks the single module on the bus for its address, after
// the installer has confirmed that only one module is connected, and puts the
// answer into "Current Address:" for manual addressing.
#pragma once

#include <QObject>
#include <cstdint>

namespace zelta::programmer {

struct ProgrammerContext;

class AddressSearch : public QObject {
  Q_OBJECT
 public:
  explicit AddressSearch(const ProgrammerContext& ctx, QObject* parent = nullptr);

  void up_address_search(std::uint16_t address);

 private:
  void ask();  // Timer16

  const ProgrammerContext& ctx_;
};

}  // namespace zelta::programmer
