// A finished health report: the read logs, the flags and the per-block table,
// and the count of flagged blocks by their worst severity. The writers of
// the PDF and of the summaries all work from this one object.
#pragma once

#include <QString>
#include <vector>

#include "block_table.h"
#include "flags.h"
#include "report_job.h"

namespace zelta::report {

struct HealthReport {
  explicit HealthReport(const ReportJob& job);

  const ReportJob& job;
  std::vector<Flag> flags;
  std::vector<BlockRow> rows;
  int criticalBlocks = 0;
  int warningBlocks = 0;

  bool anyFlag() const { return !flags.empty(); }
  QString stringName() const;
  QString dateRange() const;  // "first – last", or "no readings"
};

// The PDF, and the summary as CSV or JSON (by the path's suffix). False with
// the reason when a file cannot be written.
bool writePdf(const HealthReport& report, const QString& path, QString& error);
bool writeSummary(const HealthReport& report, const QString& path, QString& error);

}  // namespace zelta::report
