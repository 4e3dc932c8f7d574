#include "string_logs.h"

#include <QDateTime>

#include "reader/csv_logger.h"
#include "reader/number_text.h"

namespace zelta::testing {

void StringLogs::write(const QString& dir) const {
  QDateTime now(QDate(2024, 5, 17), QTime(8, 0));
  CsvLogger logger([&now] { return now; });
  logger.setLogFiles(dir);
  logger.setDelimiter(delimiter);
  logger.setLoggingActive(true);
  const auto pass = [&](const char* kind, int p, const auto& value, auto text) {
    for (int b = 1; b <= blocks; ++b)
      if (const auto v = value(b, p)) logger.logValue(QString::fromLatin1(kind), text(*v), b);
    now = now.addSecs(20);
  };
  for (const char* kind : {"Modultyp", "HW", "SW"}) {
    for (int b = 1; b <= blocks; ++b)
      logger.logValue(QString::fromLatin1(kind),
                      kind[0] == 'M'   ? QStringLiteral("Q12")
                      : kind[0] == 'H' ? QStringLiteral("3.1")
                                       : software(b),
                      b);
  }
  for (int p = 0; p < passes; ++p) {
    pass("Voltage", p, volts, voltageText);
    pass("Temperature", p, celsius, generalText);
    pass("Impedance", p, milliohm, generalText);
  }
  logger.flushPendingLine();
}

}  // namespace zelta::testing
