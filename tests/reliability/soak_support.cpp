#include "soak_support.h"

#include <malloc.h>
#include <unistd.h>

#include <QFile>
#include <QList>

namespace zelta::testing {

int soakHours(int normal, int sanitized) {
  bool ok = false;
  const int hours = qEnvironmentVariableIntValue("ZELTA_SOAK_HOURS", &ok);
  if (ok && hours > 0) return hours;
  return kUnderSanitizer ? sanitized : normal;
}

MemorySample sampleMemory() {
  MemorySample s;
  s.heapInUse = mallinfo2().uordblks;
  QFile statm("/proc/self/statm");
  if (statm.open(QIODevice::ReadOnly)) {
    const QList<QByteArray> fields = statm.readAll().split(' ');
    if (fields.size() > 1)
      s.residentKb = fields[1].toULongLong() * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) / 1024;
  }
  return s;
}

double cpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

}  // namespace zelta::testing
