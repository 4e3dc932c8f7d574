// How far a module's value may lie from the string's mean before it is
// coloured as an outlier: voltage within ± a percentage of the mean,
// temperature up to some degrees above it, impedance up to a percentage above
// it. The bands are the user's setting, remembered between runs.
#pragma once

#include <QColor>

#include "value_kind.h"

namespace zelta {

class Settings;

// Where a value lies against its band.
enum class Deviation { None, Low, High };

// Cell colours of outliers: below the band, above the band.
QColor deviationColour(Deviation deviation);

struct OutlierBands {
  double voltagePercent = 2.0;     // ± of the mean
  double temperatureAboveC = 5.0;  // above the mean
  double impedancePercent = 25.0;  // above the mean

  // The band of a value kind around mean; Voltage, Temperature, Impedance
  // only (other kinds have no band: nothing deviates).
  Deviation deviationOf(ValueKind kind, double value, double mean) const;

  static OutlierBands load(const Settings& settings);
  void save(Settings& settings) const;
};

}  // namespace zelta
