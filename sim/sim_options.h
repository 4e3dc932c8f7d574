// The command line of zelta_bus_sim: what string of modules to simulate, with
// which faults and timing, and where to offer it. Parsing is strict: an
// unknown option or a value out of range is refused with a reason.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sim/bus_simulator.h"

namespace zelta {

struct SimOptions {
  int modules = 24;
  std::uint16_t firstAddress = 1;  // 0: every module unaddressed
  std::uint32_t seed = 1;
  FaultRates faults;
  std::optional<std::pair<std::uint16_t, std::uint16_t>> silent;
  double turnaroundMs = 3;
  int replyChunkBytes = 1;
  double lineCheckPaceMs = 20;
  bool drift = false;
  bool trace = false;
  std::string link;
  bool help = false;
};

struct ParsedOptions {
  std::optional<SimOptions> options;  // nothing when the line was refused
  std::string error;
};

// args: the arguments after the program name.
ParsedOptions parseSimOptions(const std::vector<std::string>& args);

// The text of --help, the commands read from standard input included.
std::string simUsage();

}  // namespace zelta
