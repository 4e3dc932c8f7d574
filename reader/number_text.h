// Numbers as the reader reads and shows them: in the user's locale for
// display, leniently for addresses that feed requests, strictly to decide
// whether a field holds a number at all.
#pragma once

#include <QString>
#include <optional>

namespace zelta {

// Decimal separator of the default locale ("." where it is not one character).
char localeDecimalSeparator();

QString generalText(double value);  // 21, 13.25, -2.5
QString voltageText(double value);  // "##.000": 13.200, .500

double lenientNumber(const QString& text);
std::optional<double> strictNumber(const QString& text);

}  // namespace zelta
