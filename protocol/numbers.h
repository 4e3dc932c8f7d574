// Reading numbers typed by people and writing numbers for display.
// The lenient reading is the one used wherever a field feeds a request; the
// strict one decides whether a field holds a number at all. Display takes the
// decimal separator as an argument so that callers can use the user's locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zelta {

// Skips leading blanks and takes the longest leading number: an optional sign,
// decimal digits with an optional "." fraction and exponent (1.5E3), or
// hexadecimal digits after
// "&H" / "&h". A text without a number gives 0.
double lenientParse(std::string_view text);

// The whole text, blanks around it allowed, must be a number (sign, digits,
// "." or the given decimal separator, or "&H" hexadecimal). Empty is not.
std::optional<double> strictParse(std::string_view text, char decimalSeparator = '.');

// Shortest text of the value with no trailing zeros: 21, 13.25, -2.5.
std::string formatGeneral(double value, char decimalSeparator = '.');

// The pattern "##.000": three decimals, no digit before the separator when
// the integer part is 0 (0.5 -> ".500", 13.2 -> "13.200").
std::string formatVoltage(double value, char decimalSeparator = '.');

}  // namespace zelta
