#include "soak_support.h"

#include <malloc.h>

#include <QtGlobal>

namespace zelta::testing {

int soakHours(int normal, int sanitized) {
  bool ok = false;
  const int hours = qEnvironmentVariableIntValue("ZELTA_SOAK_HOURS", &ok);
  if (ok && hours > 0) return hours;
  return kUnderSanitizer ? sanitized : normal;
}

std::size_t heapInUse() { return mallinfo2().uordblks; }

}  // namespace zelta::testing
