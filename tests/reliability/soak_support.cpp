#include "soak_support.h"

#include <malloc.h>

#include <QtGlobal>
#include <ctime>

namespace zelta::testing {

int soakHours(int normal, int sanitized) {
  bool ok = false;
  const int hours = qEnvironmentVariableIntValue("ZELTA_SOAK_HOURS", &ok);
  if (ok && hours > 0) return hours;
  return kUnderSanitizer ? sanitized : normal;
}

std::size_t heapInUse() { return mallinfo2().uordblks; }

double cpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

}  // namespace zelta::testing
