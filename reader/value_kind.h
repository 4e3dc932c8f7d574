// The six kinds of module value the reader keeps, with the names each kind
// goes by: its grid window and menu entry, its caption and its log name.
#pragma once

#include <array>

namespace zelta {

enum class ValueKind { Voltage, Temperature, Impedance, ModuleType, Software, Hardware };

// In the order of the grid windows' menu entries.
inline constexpr std::array<ValueKind, 6> kAllKinds = {ValueKind::Voltage,   ValueKind::Temperature,
                                                       ValueKind::Impedance, ValueKind::ModuleType,
                                                       ValueKind::Software,  ValueKind::Hardware};

struct KindNames {
  const char* form;         // grid window object name
  const char* caption;      // grid window caption
  const char* menu;         // menu entry object name
  const char* menuCaption;  // menu entry text
  const char* logName;      // kind name handed to the logger
};

const KindNames& kindNames(ValueKind kind);

// Number of modules the reader keeps values for (addresses 1 to 340).
inline constexpr int kModuleCount = 340;

}  // namespace zelta
