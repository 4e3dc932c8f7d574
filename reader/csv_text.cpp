#include "csv_text.h"

namespace zelta::csv {

QString removeLastChars(const QString& c, const QString& s) {
  if (c.size() != 1) return s;
  qsizetype end = s.size();
  while (end > 0 && s[end - 1] == c[0]) --end;
  return s.left(end);
}

QString quoteField(const QString& field, const QString& delimiter) {
  const bool needs = (!delimiter.isEmpty() && field.contains(delimiter)) ||
                     field.contains(QLatin1Char('"')) || field.contains(QLatin1Char('\n')) ||
                     field.contains(QLatin1Char('\r'));
  if (!needs) return field;
  QString quoted = field;
  quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
  return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString joinLine(const QStringList& fields, const QString& delimiter) {
  QStringList quoted;
  quoted.reserve(fields.size());
  for (const QString& f : fields) quoted << quoteField(f, delimiter);
  return removeLastChars(delimiter, quoted.join(delimiter));
}

QString headerLine(bool infoFile, int modules, const QString& delimiter) {
  QStringList fields{QStringLiteral("Timestamp")};
  if (infoFile) fields << QStringLiteral("Name of Values");
  for (int n = 1; n <= modules; ++n) fields << QStringLiteral("Module(%1)").arg(n);
  return joinLine(fields, delimiter);
}

}  // namespace zelta::csv
