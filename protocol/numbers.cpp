#include "numbers.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <system_error>

namespace zelta {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool isHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c) {
  if (isDigit(c)) return c - '0';
  return std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
}

// Power of ten of the leading digit of a decimal number text such as
// "-0.00012e-7" (here -11), saturated far beyond the range of a double.
long decimalExponent(const std::string& number) {
  const std::size_t e = number.find_first_of("eE");
  const std::string mantissa = number.substr(0, e);
  long exponent = 0;
  if (e != std::string::npos) {
    std::size_t j = e + 1;
    const bool negative = j < number.size() && number[j] == '-';
    if (j < number.size() && (number[j] == '-' || number[j] == '+')) ++j;
    for (; j < number.size(); ++j)
      if (exponent < 100000) exponent = exponent * 10 + (number[j] - '0');
    if (negative) exponent = -exponent;
  }
  const std::size_t dot = std::min(mantissa.find('.'), mantissa.size());
  const std::size_t lead = mantissa.find_first_of("123456789");
  if (lead == std::string::npos) return exponent;
  const long position = lead < dot ? static_cast<long>(dot - lead - 1)
                                   : -static_cast<long>(lead - dot);
  return exponent + position;
}

struct Scan {
  double value = 0;
  std::size_t length = 0;  // characters consumed; 0 when there is no number
};

// Reads a number at the start of text (no leading blanks expected).
Scan scanNumber(std::string_view text, char decimalSeparator) {
  Scan result;
  if (text.size() >= 3 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h') &&
      isHexDigit(text[2])) {
    std::size_t i = 2;
    double v = 0;
    while (i < text.size() && isHexDigit(text[i])) v = v * 16 + hexValue(text[i++]);
    return {v, i};
  }
  // Find the extent first, then convert the text in one correctly rounded step.
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t digitsAt = i;
  while (i < text.size() && isDigit(text[i])) ++i;
  bool digits = i > digitsAt;
  if (i < text.size() && (text[i] == '.' || text[i] == decimalSeparator)) {
    std::size_t j = i + 1;
    while (j < text.size() && isDigit(text[j])) ++j;
    if (digits || j > i + 1) {
      digits = true;
      i = j;
    }
  }
  if (!digits) return result;
  // An exponent, as general display writes very small or large numbers (5E-05).
  if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (text[j] == '+' || text[j] == '-') ++j;
    const std::size_t expDigitsAt = j;
    while (j < text.size() && isDigit(text[j])) ++j;
    if (j > expDigitsAt) i = j;
  }
  std::string number(text.substr(0, i));
  if (number[0] == '+') number.erase(0, 1);
  for (char& c : number)
    if (c == decimalSeparator) c = '.';
  double v = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), v);
  if (error == std::errc::result_out_of_range) {
    // Too large gives infinity, too small gives zero, as arithmetic would.
    const double magnitude = decimalExponent(number) < 0 ? 0.0 : HUGE_VAL;
    v = number[0] == '-' ? -magnitude : magnitude;
  }
  return {v, i};
}

}  // namespace

double lenientParse(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && isBlank(text[start])) ++start;
  const Scan s = scanNumber(text.substr(start), '.');
  return s.length == 0 ? 0.0 : s.value;
}

std::optional<double> strictParse(std::string_view text, char decimalSeparator) {
  std::size_t start = 0;
  std::size_t end = text.size();
  while (start < end && isBlank(text[start])) ++start;
  while (end > start && isBlank(text[end - 1])) --end;
  const std::string_view body = text.substr(start, end - start);
  if (body.empty()) return std::nullopt;
  const Scan s = scanNumber(body, decimalSeparator);
  if (s.length == 0 || s.length != body.size()) return std::nullopt;
  return s.value;
}

std::string formatGeneral(double value, char decimalSeparator) {
  if (value == 0) return "0";  // also turns -0 into 0
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  std::string text(buffer);
  for (char& c : text)
    if (c == '.') c = decimalSeparator;
  return text;
}

std::string formatVoltage(double value, char decimalSeparator) {
  // Sized from the value: a fixed buffer would cut very large values short.
  std::string text(static_cast<std::size_t>(std::snprintf(nullptr, 0, "%.3f", value)), '\0');
  std::snprintf(text.data(), text.size() + 1, "%.3f", value);
  const bool negative = !text.empty() && text[0] == '-';
  const std::size_t digitsAt = negative ? 1 : 0;
  if (text.compare(digitsAt, 2, "0.") == 0) text.erase(digitsAt, 1);
  if (text == "-.000") text = ".000";
  for (char& c : text)
    if (c == '.') c = decimalSeparator;
  return text;
}

}  // namespace zelta
