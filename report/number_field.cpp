#include "number_field.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace zelta::report {

namespace {

constexpr double kPowers[] = {1,   1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// The common case, a plain decimal of up to 15 digits: digits and the
// position of the separator give an exactly representable integer and power
// of ten, and their quotient is correctly rounded, as from_chars would give.
std::optional<double> plainDecimal(std::string_view s) {
  std::size_t i = 0;
  const bool negative = s[0] == '-';
  if (negative) ++i;
  std::int64_t digits = 0;
  int count = 0, decimals = -1;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c >= '0' && c <= '9') {
      digits = digits * 10 + (c - '0');
      ++count;
      if (decimals >= 0) ++decimals;
    } else if ((c == '.' || c == ',') && decimals < 0) {
      decimals = 0;
    } else {
      return std::nullopt;
    }
  }
  if (count == 0 || count > 15) return std::nullopt;
  const double v = static_cast<double>(digits) / kPowers[decimals < 0 ? 0 : decimals];
  return negative ? -v : v;
}

}  // namespace

std::optional<double> parseNumberField(std::string_view s) {
  if (!s.empty() && s.size() <= 16 && s.front() != ' ' && s.back() != ' ') {
    if (const auto v = plainDecimal(s)) return v;
  }
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  if (s.empty() || s.size() > 40) return std::nullopt;
  char text[41];
  std::size_t n = 0;
  bool point = false;
  for (char c : s) {
    if (c == ',' || c == '.') {
      if (point) return std::nullopt;
      point = true;
      c = '.';
    }
    text[n++] = c;
  }
  double value = 0;
  const auto [end, error] = std::from_chars(text, text + n, value);
  if (error != std::errc() || end != text + n || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace zelta::report
