// Renders the documentation screenshots (offscreen) into a folder, "docs" by
// default: zelta_screenshots [FOLDER]
#include <QApplication>
#include <QLocale>
#include <cstdio>

#include "shots.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale::c());
  const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs"));
  if (!out.exists() && !QDir().mkpath(out.path())) {
    std::fprintf(stderr, "cannot create %s\n", qPrintable(out.path()));
    return 1;
  }
  int failures = 0;
  failures += renderReaderShots(out);
  failures += renderProgrammerShots(out);
  failures += renderReportShots(out);
  failures += renderMonitorShots(out);
  return failures == 0 ? 0 : 1;
}
