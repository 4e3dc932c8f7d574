// The machine-readable summary: the per-block table as CSV (";"), or as JSON
// with the report's figures, settings, flags and skipped lines.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include "health_report.h"
#include "log_kind.h"
#include "timestamp.h"

namespace zelta::report {
namespace {

QByteArray csvText(const HealthReport& r) {
  const auto& columns = tableColumns();
  QStringList lines;
  QStringList head;
  for (const TableColumn& c : columns) head << QString::fromLatin1(c.key);
  lines << head.join(QLatin1Char(';'));
  for (const BlockRow& row : r.rows) {
    QStringList cells;
    for (std::size_t i = 0; i < columns.size(); ++i) cells << cellText(row.cells[i], columns[i]);
    lines << cells.join(QLatin1Char(';'));
  }
  return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

QJsonValue jsonCell(const QVariant& cell, const TableColumn& column) {
  if (!cell.isValid()) return QJsonValue::Null;
  if (column.decimals < 0) return cell.toString();
  return cellText(cell, column).toDouble();
}

QByteArray jsonText(const HealthReport& r) {
  const StringAnalysis& a = r.job.analysis();
  const ReportSettings& s = r.job.settings();
  QJsonObject root;
  root[QStringLiteral("string")] = r.stringName();
  root[QStringLiteral("from")] = a.firstTime() ? timestampText(*a.firstTime()) : QString();
  root[QStringLiteral("to")] = a.lastTime() ? timestampText(*a.lastTime()) : QString();
  QJsonObject passes;
  const char* kinds[] = {"voltage", "temperature", "impedance", "info"};
  for (LogKind k : kAllLogKinds)
    passes[QLatin1String(kinds[static_cast<int>(k)])] = static_cast<qint64>(a.passes(k));
  root[QStringLiteral("passes")] = passes;
  root[QStringLiteral("blocks_found")] = a.blocksFound();
  root[QStringLiteral("flagged_blocks")] = QJsonObject{
      {QStringLiteral("critical"), r.criticalBlocks}, {QStringLiteral("warning"), r.warningBlocks}};
  root[QStringLiteral("settings")] =
      QJsonObject{{QStringLiteral("voltage_band_pct"), s.voltageBandPercent},
                  {QStringLiteral("temperature_margin_c"), s.temperatureMarginC},
                  {QStringLiteral("impedance_rise_pct"), s.impedanceRisePercent},
                  {QStringLiteral("impedance_readings"), s.impedanceReadings},
                  {QStringLiteral("missing_passes"), s.missingPasses},
                  {QStringLiteral("critical_factor"), s.criticalFactor},
                  {QStringLiteral("baseline_file"), s.baselineFile}};
  QJsonArray blocks;
  const auto& columns = tableColumns();
  for (const BlockRow& row : r.rows) {
    QJsonObject o;
    for (std::size_t i = 0; i < columns.size(); ++i)
      o[QLatin1String(columns[i].key)] = jsonCell(row.cells[i], columns[i]);
    blocks.append(o);
  }
  root[QStringLiteral("blocks")] = blocks;
  QJsonArray flags;
  for (const Flag& f : r.flags)
    flags.append(QJsonObject{{QStringLiteral("block"), f.block},
                             {QStringLiteral("kind"), flagKindName(f.kind)},
                             {QStringLiteral("severity"), severityName(f.severity)},
                             {QStringLiteral("reason"), f.reason},
                             {QStringLiteral("readings"), f.readings}});
  root[QStringLiteral("flags")] = flags;
  QJsonArray skipped;
  for (const SkippedLine& l : r.job.skipped())
    skipped.append(QJsonObject{{QStringLiteral("file"), l.file},
                               {QStringLiteral("line"), static_cast<qint64>(l.line)},
                               {QStringLiteral("reason"), l.reason}});
  root[QStringLiteral("skipped_lines")] = skipped;
  root[QStringLiteral("skipped_total")] = static_cast<qint64>(r.job.skippedTotal());
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

}  // namespace

bool writeSummary(const HealthReport& report, const QString& path, QString& error) {
  QSaveFile file(path);
  const QByteArray text = path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)
                              ? csvText(report)
                              : jsonText(report);
  if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
    error = QStringLiteral("%1: %2").arg(path, file.errorString());
    return false;
  }
  return true;
}

}  // namespace zelta::report
