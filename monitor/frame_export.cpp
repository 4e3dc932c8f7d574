#include "monitor/frame_export.h"

#include <QStringList>

#include "monitor/event_table_model.h"

namespace zelta::monitor {
namespace {

constexpr int kColumns = static_cast<int>(Column::Count);

// Widths of the text columns; the last one (the check) is not padded.
constexpr int kTextWidths[kColumns - 1] = {10, 3, 32, 7, 26, 58};

QString csvField(const QString& field) {
  if (!field.contains(QLatin1Char(';')) && !field.contains(QLatin1Char('"')) &&
      !field.contains(QLatin1Char('\n')) && !field.contains(QLatin1Char('\r')))
    return field;
  QString quoted = field;
  quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
  return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString joined(const QStringList& fields, ExportFormat format) {
  if (format == ExportFormat::Csv) {
    QStringList quoted;
    for (const QString& f : fields) quoted << csvField(f);
    return quoted.join(QLatin1Char(';'));
  }
  QString line;
  for (int c = 0; c < kColumns; ++c) {
    if (c > 0) line += QLatin1Char(' ');
    const bool rightAligned = c == int(Column::Time) || c == int(Column::Address);
    if (c == kColumns - 1)
      line += fields[c];
    else
      line += rightAligned ? fields[c].rightJustified(kTextWidths[c])
                           : fields[c].leftJustified(kTextWidths[c]);
  }
  while (line.endsWith(QLatin1Char(' '))) line.chop(1);
  return line;
}

}  // namespace

QString exportHeader(ExportFormat format) { return joined(columnTitles(), format); }

QString exportLine(const EventText& text, ExportFormat format) {
  QStringList fields;
  for (int c = 0; c < kColumns; ++c) fields << text[static_cast<Column>(c)];
  return joined(fields, format);
}

QByteArray exportContents(ExportFormat format, const EventTableModel& rows) {
  const QByteArray newline = "\r\n";  // as the Reader's log files
  QByteArray out;
  if (format == ExportFormat::Csv) out += "\xEF\xBB\xBF";
  out += exportHeader(format).toUtf8() + newline;
  for (int row = 0; row < rows.rowCount(); ++row)
    if (rows.isKept(row)) out += exportLine(rows.textAt(row), format).toUtf8() + newline;
  return out;
}

}  // namespace zelta::monitor
