#include "monitor/frame_export.h"

#include <QSaveFile>
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

bool writeExport(const QString& path, ExportFormat format, const EventTableModel& rows,
                 QString* error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    if (error) *error = file.errorString();
    return false;
  }
  QByteArray out;
  if (format == ExportFormat::Csv) out += "\xEF\xBB\xBF";
  const QByteArray newline = "\r\n";  // as the Reader's log files
  out += exportHeader(format).toUtf8() + newline;
  for (int row = 0; row < rows.rowCount(); ++row) {
    if (!rows.isKept(row)) continue;
    out += exportLine(rows.textAt(row), format).toUtf8() + newline;
    // Written in pieces, so that a long capture does not sit in memory twice.
    if (out.size() > (1 << 16)) {
      file.write(out);
      out.clear();
    }
  }
  file.write(out);
  if (!file.commit()) {
    if (error) *error = file.errorString();
    return false;
  }
  return true;
}

}  // namespace zelta::monitor
