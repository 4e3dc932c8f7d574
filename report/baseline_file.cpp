#include "baseline_file.h"

#include <QFile>
#include <QTextStream>

#include "log_kind.h"
#include "number_field.h"

namespace zelta::report {

bool readBaselineFile(const QString& path, std::map<int, double>& baseline, QString& error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    error = QStringLiteral("%1: %2").arg(path, file.errorString());
    return false;
  }
  int blockColumn = 0, valueColumn = 1;
  int lineNumber = 0;
  QTextStream in(&file);
  while (!in.atEnd()) {
    const QString line = in.readLine().trimmed();
    ++lineNumber;
    if (line.isEmpty()) continue;
    // ";" or a tab when there is one, so that "12;3,5" keeps its decimal comma.
    const QChar separator = line.contains(QLatin1Char(';'))    ? QLatin1Char(';')
                            : line.contains(QLatin1Char('\t')) ? QLatin1Char('\t')
                                                               : QLatin1Char(',');
    const QStringList cells = line.split(separator);
    if (lineNumber == 1 && cells.contains(QStringLiteral("block"))) {
      blockColumn = static_cast<int>(cells.indexOf(QStringLiteral("block")));
      valueColumn = static_cast<int>(cells.indexOf(QStringLiteral("impedance_now_mohm")));
      if (valueColumn < 0) valueColumn = blockColumn + 1;
      continue;
    }
    const auto cell = [&cells](int column) {
      return cells.size() > column ? parseNumberField(cells[column].toStdString()) : std::nullopt;
    };
    const double block = cell(blockColumn).value_or(0);
    const bool noValue = cells.size() > valueColumn && cells[valueColumn].isEmpty();
    if (noValue && block >= 1) continue;  // a block of an earlier report without impedance
    const double value = cell(valueColumn).value_or(0);
    if (block < 1 || block > kMaxBlocks || block != int(block) || value <= 0) {
      error = QStringLiteral("%1, line %2: not a block number and an impedance")
                  .arg(path)
                  .arg(lineNumber);
      return false;
    }
    baseline[static_cast<int>(block)] = value;
  }
  return true;
}

}  // namespace zelta::report
