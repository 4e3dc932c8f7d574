#include "number_text.h"

#include <QLocale>

#include "protocol/numbers.h"

namespace zelta {

char localeDecimalSeparator() {
  const QString point = QLocale().decimalPoint();
  if (point.size() == 1 && point[0].unicode() < 0x80) return static_cast<char>(point[0].unicode());
  return '.';
}

QString generalText(double value) {
  return QString::fromStdString(formatGeneral(value, localeDecimalSeparator()));
}

QString voltageText(double value) {
  return QString::fromStdString(formatVoltage(value, localeDecimalSeparator()));
}

double lenientNumber(const QString& text) { return lenientParse(text.toStdString()); }

std::optional<double> strictNumber(const QString& text) {
  return strictParse(text.toStdString(), localeDecimalSeparator());
}

}  // namespace zelta
