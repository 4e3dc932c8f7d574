// A file of impedance baselines, one block per line: "block;milliohm" (";", a tab or
// "," between them), or a summary CSV of an earlier report,
// whose "impedance_now_mohm" column then becomes the baseline.
#pragma once

#include <QString>
#include <map>

namespace zelta::report {

bool readBaselineFile(const QString& path, std::map<int, double>& baseline, QString& error);

}  // namespace zelta::report
