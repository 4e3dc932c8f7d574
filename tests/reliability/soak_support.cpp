#include "soak_support.h"

#include <malloc.h>

#include <QtGlobal>
#include <algorithm>
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

QString wireProblem(const std::vector<BusSimulator::WireFrame>& frames, int lowestAddress,
                    int highestAddress, std::initializer_list<int> codes) {
  for (std::size_t i = 0; i < frames.size(); ++i) {
    const Frame& f = frames[i].frame;
    const int address = frameAddress(f);
    QString wrong;
    if (f[0] != kStartByte)
      wrong = "no start byte";
    else if (!hasValidCheckByte(f))
      wrong = "wrong check byte";
    else if (address < lowestAddress || address > highestAddress)
      wrong = QStringLiteral("address %1").arg(address);
    else if (codes.size() > 0 && std::find(codes.begin(), codes.end(), frameCommand(f)) == codes.end())
      wrong = QStringLiteral("code 0x%1").arg(frameCommand(f), 2, 16, QLatin1Char('0'));
    if (!wrong.isEmpty()) return QStringLiteral("frame %1 at %2 ms: %3").arg(i).arg(frames[i].atMs).arg(wrong);
  }
  return {};
}

}  // namespace zelta::testing
