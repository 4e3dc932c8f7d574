#include "field_rules.h"

#include <algorithm>
#include <cmath>

#include "number_text.h"

namespace zelta::field_rules {

namespace {

// The field's number, or a whole one when it must be corrected.
std::optional<QString> wholeAddress(double value, double low, double high) {
  const double whole = std::clamp(std::floor(value + 0.5), low, high);
  if (whole == value) return std::nullopt;
  return generalText(whole);
}

}  // namespace

std::optional<QString> startAddress(const QString& text) {
  const auto v = strictNumber(text);
  if (!v) return QStringLiteral("1");
  return wholeAddress(*v, 1, 339);
}

std::optional<QString> endAddress(const QString& text) {
  const auto v = strictNumber(text);
  if (!v) return QStringLiteral("2");
  return wholeAddress(*v, 1, 340);
}

std::optional<QString> countdown(const QString& text) {
  if (!strictNumber(text)) return QStringLiteral("1");
  return std::nullopt;
}

std::optional<QString> manualAddress(const QString& text) {
  const auto v = strictNumber(text);
  if (!v) return QStringLiteral("1");
  if (*v < 0) return QStringLiteral("0");
  if (*v > 340) return QStringLiteral("340");
  return std::nullopt;
}

}  // namespace zelta::field_rules
