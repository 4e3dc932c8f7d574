// The thresholds and choices of a health report, with the defaults a service
// technician starts from. Every value is printed in the report it produced.
#pragma once

#include <QString>
#include <cstdint>
#include <map>
#include <optional>

namespace zelta::report {

struct ReportSettings {
  double voltageBandPercent = 2.0;     // |deviation from the string mean| above: flagged
  double temperatureMarginC = 5.0;     // above the string mean by more: flagged
  double impedanceRisePercent = 25.0;  // above the baseline by more: flagged
  int impedanceReadings = 5;           // readings averaged for the baseline and for "now"
  int missingPasses = 3;               // passes without an answer at the end: stopped
  double criticalFactor = 2.0;         // a flag this many times over its threshold is critical

  std::optional<std::int64_t> from, to;     // time range, seconds (timestamp.h), inclusive
  std::map<int, double> impedanceBaseline;  // block -> milliohm, from a baseline file
  QString baselineFile;                     // where impedanceBaseline came from, for the report
  QString stringName;                       // shown on the report
  QString fallbackDelimiter = ";";          // for files without a header line
};

}  // namespace zelta::report
