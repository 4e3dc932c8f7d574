// zelta_report: the health report of a battery string from ZELTA_Reader's
// log files, as a PDF and a CSV or JSON summary. It never shows a window, so
// it draws offscreen unless told otherwise and runs without a display.
#include <QApplication>
#include <QTextStream>
#include <cstdio>

#include "report/report_command.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("zelta_report"));
  QTextStream out(stdout);
  QTextStream err(stderr);
  return zelta::report::runReportCommand(QApplication::arguments(), out, err);
}
