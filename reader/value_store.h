// The last value every module reported, one table of 340 entries per kind;
// entry i belongs to address i + 1. An entry is empty, a number or a text,
// as the reply handler filed it; numbers become text only for display.
#pragma once

#include <QString>
#include <array>
#include <variant>

#include "value_kind.h"

namespace zelta {

using StoredValue = std::variant<std::monostate, double, QString>;

// Number in general form, text as it is, nothing as the empty text.
QString generalForm(const StoredValue& value);

class ValueStore {
 public:
  const StoredValue& at(ValueKind kind, int index) const;
  void set(ValueKind kind, int index, StoredValue value);
  void clearAll();

 private:
  std::array<std::array<StoredValue, kModuleCount>, kAllKinds.size()> tables_{};
};

}  // namespace zelta
