#include "numbers.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace zelta {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool isHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c) {
  if (isDigit(c)) return c - '0';
  return std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
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
  std::size_t i = 0;
  double sign = 1;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') sign = -1;
    ++i;
  }
  double v = 0;
  bool digits = false;
  while (i < text.size() && isDigit(text[i])) {
    v = v * 10 + (text[i++] - '0');
    digits = true;
  }
  if (i < text.size() && (text[i] == '.' || text[i] == decimalSeparator)) {
    std::size_t j = i + 1;
    double scale = 0.1;
    double fraction = 0;
    bool fractionDigits = false;
    while (j < text.size() && isDigit(text[j])) {
      fraction += (text[j++] - '0') * scale;
      scale /= 10;
      fractionDigits = true;
    }
    if (digits || fractionDigits) {
      v += fraction;
      digits = true;
      i = j;
    }
  }
  if (!digits) return result;
  // An exponent, as general display writes very small or large numbers (5E-05).
  if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    int expSign = 1;
    if (text[j] == '+' || text[j] == '-') expSign = text[j++] == '-' ? -1 : 1;
    int exponent = 0;
    bool expDigits = false;
    while (j < text.size() && isDigit(text[j])) {
      if (exponent < 10000) exponent = exponent * 10 + (text[j] - '0');
      ++j;
      expDigits = true;
    }
    if (expDigits) {
      if (v != 0) v *= std::pow(10.0, expSign * exponent);
      i = j;
    }
  }
  return {sign * v, i};
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
