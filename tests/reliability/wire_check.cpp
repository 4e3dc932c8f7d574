#include "wire_check.h"

#include <algorithm>

namespace zelta::testing {

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
