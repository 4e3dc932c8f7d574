// Reads a value field of the log: a decimal number written with the Reader's
// locale, so with "." or "," as the decimal separator. Blanks around it are
// allowed; anything else is not a number.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zelta::report {

// The common case, a plain decimal of up to 15 digits, read inline: digits
// and the position of the separator give an exactly representable integer
// and power of ten, and their quotient is correctly rounded, as from_chars
// would give. False for anything else (parseNumberField then decides).
inline bool parsePlainDecimal(std::string_view s, double& out) {
  constexpr double kPowers[] = {1,    1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  if (s.empty() || s.size() > 17) return false;
  const char* p = s.data();
  const char* const end = p + s.size();
  const bool negative = *p == '-';
  p += negative;
  std::uint64_t digits = 0;
  int count = 0;
  const char* point = nullptr;
  for (; p < end; ++p) {
    const auto d = static_cast<unsigned>(static_cast<unsigned char>(*p) - '0');
    if (d < 10) {
      digits = digits * 10 + d;
      ++count;
    } else if ((*p == '.' || *p == ',') && !point) {
      point = p;
    } else {
      return false;
    }
  }
  if (count == 0 || count > 15) return false;
  const double v = static_cast<double>(digits) / kPowers[point ? end - point - 1 : 0];
  out = negative ? -v : v;
  return true;
}

std::optional<double> parseNumberField(std::string_view field);

}  // namespace zelta::report
