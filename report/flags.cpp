#include "flags.h"

#include <cmath>

#include "string_analysis.h"
#include "timestamp.h"

namespace zelta::report {
namespace {

QString num(double v, int decimals) { return QString::number(v, 'f', decimals); }

Severity severityOf(double over, double threshold, const ReportSettings& s) {
  return std::abs(over) > threshold * s.criticalFactor ? Severity::Critical : Severity::Warning;
}

QString since(const Streak& streak) {
  return streak.since ? QStringLiteral("since %1").arg(timestampText(*streak.since)) : QString();
}

void voltageFlag(const StringAnalysis& a, int n, std::vector<Flag>& out) {
  const BlockStats& b = a.block(n);
  const ReportSettings& s = a.settings();
  if (b.voltage.count == 0 || std::abs(b.deviationPercent) <= s.voltageBandPercent) return;
  out.push_back(
      {n, FlagKind::Voltage, severityOf(b.deviationPercent, s.voltageBandPercent, s),
       QStringLiteral("voltage %1 V is %2 % %3 the string mean %4 V (band ±%5 %)")
           .arg(num(b.voltage.latest, 3), num(std::abs(b.deviationPercent), 1),
                b.deviationPercent < 0 ? QStringLiteral("below") : QStringLiteral("above"),
                num(b.stringMeanAtLatest, 3), num(s.voltageBandPercent, 1)),
       QStringLiteral("outside the band %1, in %2 of %3 passes; min %4 V, max %5 V, at %6")
           .arg(since(b.outsideBand))
           .arg(b.outsideBand.passes)
           .arg(b.voltage.count)
           .arg(num(b.voltage.min, 3), num(b.voltage.max, 3),
                timestampText(b.voltage.latestTime))});
}

void temperatureFlag(const StringAnalysis& a, int n, std::vector<Flag>& out) {
  const BlockStats& b = a.block(n);
  const ReportSettings& s = a.settings();
  if (b.temperature.count == 0 || b.aboveMeanC <= s.temperatureMarginC) return;
  out.push_back(
      {n, FlagKind::Temperature, severityOf(b.aboveMeanC, s.temperatureMarginC, s),
       QStringLiteral("temperature %1 °C is %2 °C above the string mean (margin +%3 °C)")
           .arg(num(b.temperature.latest, 1), num(b.aboveMeanC, 1), num(s.temperatureMarginC, 1)),
       QStringLiteral("above the margin %1, in %2 of %3 passes; max %4 °C, at %5")
           .arg(since(b.hot))
           .arg(b.hot.passes)
           .arg(b.temperature.count)
           .arg(num(b.temperature.max, 1), timestampText(b.temperature.latestTime))});
}

void impedanceFlag(const StringAnalysis& a, int n, std::vector<Flag>& out) {
  const BlockStats& b = a.block(n);
  const ReportSettings& s = a.settings();
  const auto base = a.impedanceBaseline(n);
  const auto now = a.impedanceNow(n);
  if (!b.impedanceRisen.since || !base || !now) return;
  const double rise = (*now / *base - 1) * 100.0;
  const QString baseFrom =
      s.impedanceBaseline.count(n)
          ? QStringLiteral("the baseline file")
          : QStringLiteral("the mean of its first %1 readings").arg(b.baselineCount);
  out.push_back(
      {n, FlagKind::Impedance, severityOf(rise, s.impedanceRisePercent, s),
       QStringLiteral("impedance %1 mΩ is %2 % above its baseline %3 mΩ (limit +%4 %)")
           .arg(num(*now, 2), num(rise, 0), num(*base, 2), num(s.impedanceRisePercent, 0)),
       QStringLiteral("mean of the last %1 readings, latest %2 mΩ at %3; baseline from "
                      "%4; above the limit %5")
           .arg(b.recentImpedance.size())
           .arg(num(b.impedance.latest, 2), timestampText(b.impedance.latestTime), baseFrom,
                since(b.impedanceRisen))});
}

void silentFlag(const StringAnalysis& a, int n, std::vector<Flag>& out) {
  const BlockStats& b = a.block(n);
  const ReportSettings& s = a.settings();
  // Judged on the voltage passes, or on the temperature passes without them.
  const bool byVoltage = a.passes(LogKind::Voltages) > 0;
  const auto passes = static_cast<std::int64_t>(byVoltage ? a.passes(LogKind::Voltages)
                                                          : a.passes(LogKind::Temperatures));
  const std::int64_t last = byVoltage ? b.lastVoltagePass : b.lastTemperaturePass;
  const std::int64_t missed = passes - 1 - last;
  if (!b.seen || passes == 0 || missed < s.missingPasses) return;
  out.push_back({n, FlagKind::Silent, Severity::Critical,
                 QStringLiteral("no answer in the last %1 %2 passes")
                     .arg(missed)
                     .arg(byVoltage ? QStringLiteral("voltage") : QStringLiteral("temperature")),
                 QStringLiteral("last seen %1").arg(timestampText(b.lastSeen))});
}

void revisionFlag(const StringAnalysis& a, int n, std::vector<Flag>& out) {
  const BlockStats& b = a.block(n);
  const char* names[] = {"hardware revision", "software revision", "module type"};
  QStringList reasons, readings;
  for (int k = 0; k < 3; ++k) {
    const InfoValue& v = b.info[static_cast<std::size_t>(k)];
    if (v.latest.empty()) continue;
    const auto [common, count] = a.commonInfo(static_cast<InfoKind>(k));
    const QString name = QString::fromLatin1(names[k]);
    if (v.latest != common)
      reasons << QStringLiteral("%1 %2 where %3 blocks have %4")
                     .arg(name, QString::fromLocal8Bit(v.latest.c_str()))
                     .arg(count)
                     .arg(QString::fromLocal8Bit(common.c_str()));
    if (v.changed)
      readings << QStringLiteral("%1 changed from %2 to %3 at %4")
                      .arg(name, QString::fromLocal8Bit(v.first.c_str()),
                           QString::fromLocal8Bit(v.latest.c_str()), timestampText(v.changedAt));
  }
  if (reasons.isEmpty() && readings.isEmpty()) return;
  if (reasons.isEmpty()) reasons << QStringLiteral("revision changed while logged");
  out.push_back({n, FlagKind::Revision, Severity::Warning, reasons.join(QStringLiteral("; ")),
                 readings.join(QStringLiteral("; "))});
}

}  // namespace

QString flagKindName(FlagKind kind) {
  switch (kind) {
    case FlagKind::Voltage:
      return QStringLiteral("voltage");
    case FlagKind::Temperature:
      return QStringLiteral("temperature");
    case FlagKind::Impedance:
      return QStringLiteral("impedance");
    case FlagKind::Silent:
      return QStringLiteral("stopped answering");
    case FlagKind::Revision:
      return QStringLiteral("mixed revisions");
  }
  return {};
}

QString severityName(Severity severity) {
  return severity == Severity::Critical ? QStringLiteral("critical") : QStringLiteral("warning");
}

std::vector<Flag> findFlags(const StringAnalysis& analysis) {
  std::vector<Flag> flags;
  for (int n = 1; n <= kMaxBlocks; ++n) {
    if (!analysis.block(n).seen) continue;
    voltageFlag(analysis, n, flags);
    temperatureFlag(analysis, n, flags);
    impedanceFlag(analysis, n, flags);
    silentFlag(analysis, n, flags);
    revisionFlag(analysis, n, flags);
  }
  return flags;
}

}  // namespace zelta::report
