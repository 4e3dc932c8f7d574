// The self-correcting fields of the main window. Each rule looks at the text
// a field holds after a change and answers with the text that must replace
// it, or nothing when the text may stay.
#pragma once

#include <QString>
#include <optional>

namespace zelta::field_rules {

// The scan range is made of whole bus addresses: a fractional start or end is
// first rounded to the nearest whole number, halves up (0.5 -> 1, 2.5 -> 3).
// Start address: not a number or 0 and below -> "1", above 339 -> "339".
std::optional<QString> startAddress(const QString& text);
// End address: not a number -> "2", below 1 -> "1", above 340 -> "340".
std::optional<QString> endAddress(const QString& text);
// Impedance countdown in minutes: not a number -> "1".
std::optional<QString> countdown(const QString& text);
// Manual address: not a number -> "1", below 0 -> "0", above 340 -> "340".
std::optional<QString> manualAddress(const QString& text);

}  // namespace zelta::field_rules
