#include "value_kind.h"

namespace zelta {

const KindNames& kindNames(ValueKind kind) {
  static const std::array<KindNames, 6> names = {{
      {"Form2", "Module_Voltage", "Module_Voltage", "&Module_Voltage", "Voltage"},
      {"Form3", "Temperature", "Temperature_E", "&Temperature", "Temperature"},
      {"Form5", "Impedance", "ImpedanceVal", "&Impedance", "Impedance"},
      {"Form7", "Module Type", "Module_Type", "&Module_Type", "Modultyp"},
      {"Form8", "Software Revision", "Software_Revision", "&Software_Revision", "SW"},
      {"Form9", "Hardware Revision", "Hardware_Revision", "&Hardware_Revision", "HW"},
  }};
  return names[static_cast<std::size_t>(kind)];
}

}  // namespace zelta
