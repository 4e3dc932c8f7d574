// The judgement of a string: which blocks are weak and why. Each flag names
// its block, its kind, how severe it is, the reason in words with the
// threshold it broke, and the readings behind it.
#pragma once

#include <QString>
#include <vector>

#include "report_settings.h"

namespace zelta::report {

class StringAnalysis;

enum class FlagKind { Voltage, Temperature, Impedance, Silent, Revision };
enum class Severity { Warning, Critical };

struct Flag {
  int block = 0;
  FlagKind kind = FlagKind::Voltage;
  Severity severity = Severity::Warning;
  QString reason;
  QString readings;
};

QString flagKindName(FlagKind kind);  // "voltage", "temperature", ...
QString severityName(Severity severity);

// Flags in block order, then in the order of FlagKind.
std::vector<Flag> findFlags(const StringAnalysis& analysis);

}  // namespace zelta::report
