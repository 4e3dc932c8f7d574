#include "outlier_bands.h"

#include <cmath>

#include "platform/settings.h"

namespace zelta {
namespace {

const char* const kVoltageKey = "outliers/voltagePercent";
const char* const kTemperatureKey = "outliers/temperatureAboveC";
const char* const kImpedanceKey = "outliers/impedancePercent";

// A stored band that is no usable number keeps the default.
double stored(const Settings& s, const char* key, double fallback) {
  bool ok = false;
  const double v = s.value(QString::fromLatin1(key), fallback).toDouble(&ok);
  return ok && std::isfinite(v) && v >= 0 ? v : fallback;
}

}  // namespace

QColor deviationColour(Deviation deviation) {
  switch (deviation) {
    case Deviation::Low:
      return QColor(0xFF, 0xA8, 0xA8);  // light red: a weak block
    case Deviation::High:
      return QColor(0xFF, 0xCC, 0x80);  // light orange
    default:
      return {};
  }
}

Deviation OutlierBands::deviationOf(ValueKind kind, double value, double mean) const {
  switch (kind) {
    case ValueKind::Voltage: {
      const double half = std::abs(mean) * voltagePercent / 100.0;
      if (value < mean - half) return Deviation::Low;
      if (value > mean + half) return Deviation::High;
      return Deviation::None;
    }
    case ValueKind::Temperature:
      return value > mean + temperatureAboveC ? Deviation::High : Deviation::None;
    case ValueKind::Impedance:
      return value > mean + std::abs(mean) * impedancePercent / 100.0 ? Deviation::High
                                                                      : Deviation::None;
    default:
      return Deviation::None;
  }
}

OutlierBands OutlierBands::load(const Settings& settings) {
  const OutlierBands d;
  return {stored(settings, kVoltageKey, d.voltagePercent),
          stored(settings, kTemperatureKey, d.temperatureAboveC),
          stored(settings, kImpedanceKey, d.impedancePercent)};
}

void OutlierBands::save(Settings& settings) const {
  settings.setValue(QString::fromLatin1(kVoltageKey), voltagePercent);
  settings.setValue(QString::fromLatin1(kTemperatureKey), temperatureAboveC);
  settings.setValue(QString::fromLatin1(kImpedanceKey), impedancePercent);
}

}  // namespace zelta
