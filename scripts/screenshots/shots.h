// Screenshots for the documentation: each program's function builds its
// windows on a virtual clock against the simulated bus, brings them into a
// typical state and writes PNG files into the given folder. Each returns the
// number of pictures it could not write.
#pragma once

#include <QDir>

int renderReaderShots(const QDir& outDir);
int renderProgrammerShots(const QDir& outDir);
int renderReportShots(const QDir& outDir);
int renderMonitorShots(const QDir& outDir);
