// The zelta_report command line: the log folder or files, where the PDF and
// the summary go, the time range and every threshold. run() makes the report
// and returns the exit code: 0 nothing flagged, 1 a block is flagged, 2 the
// report could not be made.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace zelta::report {

int runReportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace zelta::report
