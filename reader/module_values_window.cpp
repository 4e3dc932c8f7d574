#include "module_values_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace zelta {
namespace {

// Field number (Text1 .. Text6) of each kind.
int fieldNumber(ValueKind kind) {
  switch (kind) {
    case ValueKind::ModuleType:
      return 1;
    case ValueKind::Software:
      return 2;
    case ValueKind::Hardware:
      return 3;
    case ValueKind::Voltage:
      return 4;
    case ValueKind::Temperature:
      return 5;
    case ValueKind::Impedance:
      return 6;
  }
  return 1;
}

}  // namespace

ModuleValuesWindow::ModuleValuesWindow() {
  setObjectName("Form4");
  setWindowTitle("Module Values");
  auto* grid = new QGridLayout(this);
  struct Row {
    const char* label;
    const char* unit;
  };
  const Row rows[6] = {{"Modul", nullptr}, {"Software", nullptr}, {"Hardware", nullptr},
                       {"Voltage", "V"},   {"Temperature", "°C"}, {"Impedance", "mOhm"}};
  for (int i = 0; i < 6; ++i) {
    const int column = i < 3 ? 0 : 3;
    const int row = i % 3;
    auto* label = new QLabel(QString::fromUtf8(rows[i].label), this);
    label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("Text%1").arg(i + 1));
    edit->setFixedWidth(80);
    fields_[static_cast<std::size_t>(i)] = edit;
    grid->addWidget(label, row, column);
    grid->addWidget(edit, row, column + 1);
    if (rows[i].unit) {
      auto* unit = new QLabel(QString::fromUtf8(rows[i].unit), this);
      unit->setObjectName(QStringLiteral("Label%1").arg(i + 4));
      grid->addWidget(unit, row, column + 2);
    }
  }
  grid->setColumnMinimumWidth(2, 16);
}

QLineEdit* ModuleValuesWindow::field(ValueKind kind) const {
  return fields_[static_cast<std::size_t>(fieldNumber(kind) - 1)];
}

void ModuleValuesWindow::setField(ValueKind kind, const QString& text) {
  field(kind)->setText(text);
}

void ModuleValuesWindow::clearFields() {
  for (QLineEdit* f : fields_) f->clear();
}

void ModuleValuesWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  emit closing();
}

}  // namespace zelta
