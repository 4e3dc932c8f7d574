#include "block_table.h"

#include <set>

#include "string_analysis.h"
#include "timestamp.h"

namespace zelta::report {

const std::vector<TableColumn>& tableColumns() {
  static const std::vector<TableColumn> columns = {
      {"block", "Block", 0},
      {"voltage_latest_v", "U now", 3},
      {"voltage_min_v", "U min", 3},
      {"voltage_max_v", "U max", 3},
      {"deviation_latest_pct", "dev %", 2},
      {"deviation_max_abs_pct", "|dev| max", 2},
      {"temperature_latest_c", "T now", 1},
      {"temperature_min_c", "T min", 1},
      {"temperature_max_c", "T max", 1},
      {"temperature_above_mean_c", "T-mean", 1},
      {"impedance_baseline_mohm", "Z base", 3},
      {"impedance_now_mohm", "Z now", 3},
      {"impedance_rise_pct", "Z rise %", 1},
      {"last_seen", "Last seen", -1},
      {"module_type", "Type", -1},
      {"hardware", "HW", -1},
      {"software", "SW", -1},
      {"flags", "Flags", -1},
      {"severity", "Severity", -1},
  };
  return columns;
}

std::vector<BlockRow> blockRows(const StringAnalysis& a, const std::vector<Flag>& flags) {
  std::vector<BlockRow> rows;
  for (int n = 1; n <= kMaxBlocks; ++n) {
    const BlockStats& b = a.block(n);
    if (!b.seen) continue;
    const auto number = [](bool has, double v) { return has ? QVariant(v) : QVariant(); };
    const bool u = b.voltage.count > 0, t = b.temperature.count > 0;
    const auto base = a.impedanceBaseline(n);
    const auto now = a.impedanceNow(n);
    QStringList kinds;
    bool critical = false;
    for (const Flag& f : flags)
      if (f.block == n) {
        kinds << flagKindName(f.kind);
        critical = critical || f.severity == Severity::Critical;
      }
    const auto info = [&b](InfoKind k) {
      return QString::fromLocal8Bit(b.info[static_cast<std::size_t>(k)].latest.c_str());
    };
    rows.push_back(
        {n,
         {QVariant(n), number(u, b.voltage.latest), number(u, b.voltage.min),
          number(u, b.voltage.max), number(u, b.deviationPercent),
          number(u, b.maxAbsDeviationPercent), number(t, b.temperature.latest),
          number(t, b.temperature.min), number(t, b.temperature.max), number(t, b.aboveMeanC),
          base ? QVariant(*base) : QVariant(), now ? QVariant(*now) : QVariant(),
          base && now && *base > 0 ? QVariant((*now / *base - 1) * 100.0) : QVariant(),
          timestampText(b.lastSeen), info(InfoKind::ModuleType), info(InfoKind::Hardware),
          info(InfoKind::Software), kinds.join(QStringLiteral(", ")),
          kinds.isEmpty() ? QString()
                          : severityName(critical ? Severity::Critical : Severity::Warning)}});
  }
  return rows;
}

QString cellText(const QVariant& cell, const TableColumn& column) {
  if (!cell.isValid()) return {};
  if (column.decimals < 0) return cell.toString();
  return QString::number(cell.toDouble(), 'f', column.decimals);
}

}  // namespace zelta::report
