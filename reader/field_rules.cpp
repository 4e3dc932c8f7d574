#include "field_rules.h"

#include "number_text.h"

namespace zelta::field_rules {

std::optional<QString> startAddress(const QString& text) {
  const auto v = strictNumber(text);
  if (!v || *v <= 0) return QStringLiteral("1");
  if (*v > 339) return QStringLiteral("339");
  return std::nullopt;
}

std::optional<QString> endAddress(const QString& text) {
  const auto v = strictNumber(text);
  if (!v) return QStringLiteral("2");
  if (*v < 1) return QStringLiteral("1");
  if (*v > 340) return QStringLiteral("340");
  return std::nullopt;
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
