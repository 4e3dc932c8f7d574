// Reads a value field of the log: a decimal number written with the Reader's
// locale, so with "." or "," as the decimal separator. Blanks around it are
// allowed; anything else is not a number.
#pragma once

#include <optional>
#include <string_view>

namespace zelta::report {

std::optional<double> parseNumberField(std::string_view field);

}  // namespace zelta::report
