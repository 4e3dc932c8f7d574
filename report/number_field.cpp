#include "number_field.h"

#include <charconv>
#include <cmath>

namespace zelta::report {


std::optional<double> parseNumberField(std::string_view s) {
  double plain;
  if (parsePlainDecimal(s, plain)) return plain;
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
