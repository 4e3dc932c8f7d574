#include "programmer/address_fields.h"

#include <QLineEdit>

#include "programmer/programmer_context.h"
#include "protocol/requests.h"

namespace zelta::programmer {

Address readAddress(const QLineEdit& field) {
  return addressFromText(field.text().toStdString());
}

bool acceptAddressFields(const ProgrammerContext& ctx, std::initializer_list<AddressField> fields) {
  for (const AddressField& f : fields) {
    if (readAddress(*f.field)) continue;
    ctx.box(QStringLiteral("The field \"%1\" holds \"%2\", which is not a module address.\r\n"
                           "Enter a whole number from 0 to 65535.")
                .arg(f.name, f.field->text()),
            BoxIcon::Exclamation);
    return false;
  }
  return true;
}

}  // namespace zelta::programmer
