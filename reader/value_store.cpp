#include "value_store.h"

#include "number_text.h"

namespace zelta {

QString generalForm(const StoredValue& value) {
  if (const double* d = std::get_if<double>(&value)) return generalText(*d);
  if (const QString* s = std::get_if<QString>(&value)) return *s;
  return {};
}

const StoredValue& ValueStore::at(ValueKind kind, int index) const {
  return tables_.at(static_cast<std::size_t>(kind)).at(static_cast<std::size_t>(index));
}

void ValueStore::set(ValueKind kind, int index, StoredValue value) {
  tables_.at(static_cast<std::size_t>(kind)).at(static_cast<std::size_t>(index)) = std::move(value);
}

void ValueStore::clearAll() {
  for (auto& table : tables_) table.fill(StoredValue{});
}

}  // namespace zelta
