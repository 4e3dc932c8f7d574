// The four log files of one string, as the Reader names them.
#pragma once

#include <array>

namespace zelta::report {

enum class LogKind { Voltages, Temperatures, Impedances, Info };

inline constexpr std::array<LogKind, 4> kAllLogKinds = {LogKind::Voltages, LogKind::Temperatures,
                                                        LogKind::Impedances, LogKind::Info};

inline const char* logFileName(LogKind kind) {
  constexpr std::array<const char*, 4> names = {
      "ZELTA_Reader_Voltages.csv", "ZELTA_Reader_Temperatures.csv", "ZELTA_Reader_Impedances.csv",
      "ZELTA_Reader_Info.csv"};
  return names[static_cast<std::size_t>(kind)];
}

// Blocks the Reader logs: modules 1 to 340.
inline constexpr int kMaxBlocks = 340;

}  // namespace zelta::report
