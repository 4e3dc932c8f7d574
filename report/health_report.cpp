#include "health_report.h"

#include <QFileInfo>
#include <map>

#include "timestamp.h"

namespace zelta::report {

HealthReport::HealthReport(const ReportJob& j)
    : job(j), flags(findFlags(j.analysis())), rows(blockRows(j.analysis(), flags)) {
  std::map<int, bool> critical;
  for (const Flag& f : flags)
    critical[f.block] = critical[f.block] || f.severity == Severity::Critical;
  for (const auto& [block, isCritical] : critical) ++(isCritical ? criticalBlocks : warningBlocks);
}

QString HealthReport::stringName() const {
  if (!job.settings().stringName.isEmpty()) return job.settings().stringName;
  if (job.files().empty()) return {};
  return QFileInfo(QFileInfo(job.files().front().path).absolutePath()).fileName();
}

QString HealthReport::dateRange() const {
  const StringAnalysis& a = job.analysis();
  if (!a.firstTime()) return QStringLiteral("no readings");
  return timestampText(*a.firstTime()) + QStringLiteral(" – ") + timestampText(*a.lastTime());
}

}  // namespace zelta::report
