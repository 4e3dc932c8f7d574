// The programmer's address fields are free text, read leniently when a
// procedure needs them. A value outside 0 to 65535 or with a fractional part
// is not an address: a start action refuses it with a message naming the
// field, and a later read of such a field yields nothing, so that no request
// is built from it.
#pragma once

#include <QString>
#include <initializer_list>

#include "programmer/programmer_state.h"

class QLineEdit;

namespace zelta::programmer {

struct ProgrammerContext;

// The field's address, or nothing when its value is not a bus address.
Address readAddress(const QLineEdit& field);

struct AddressField {
  const QLineEdit* field;
  QString name;  // as the installer sees it, e.g. "Start Address"
};

// Checks the fields in order. The first one that holds no bus address is
// refused with a message box; returns whether all were accepted.
bool acceptAddressFields(const ProgrammerContext& ctx, std::initializer_list<AddressField> fields);

}  // namespace zelta::programmer
