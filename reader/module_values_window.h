// "Module Values": the six values of the module asked in Manual Mode, in two
// columns of three fields. The fields carry no address; whatever reply comes
// is shown.
#pragma once

#include <QWidget>
#include <array>

#include "value_kind.h"

class QLineEdit;

namespace zelta {

class ModuleValuesWindow : public QWidget {
  Q_OBJECT
 public:
  ModuleValuesWindow();

  QLineEdit* field(ValueKind kind) const;
  void setField(ValueKind kind, const QString& text);
  // Text1 to Text6 empty, in that order.
  void clearFields();

 signals:
  void closing();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  std::array<QLineEdit*, 6> fields_{};  // Text1 .. Text6
};

}  // namespace zelta
