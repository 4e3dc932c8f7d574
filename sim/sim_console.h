// The commands an operator types while zelta_bus_sim runs: press a module's
// button, power a module up with its button held, set a value, list the
// modules, quit. Modules are named by their position in the string, 1 for the
// first, as "list" shows them. Each command returns the text to print.
#pragma once

#include <string>
#include <string_view>

#include "sim/bus_simulator.h"

namespace zelta {

class SimConsole {
 public:
  explicit SimConsole(BusSimulator& bus) : bus_(bus) {}

  std::string execute(std::string_view line);
  bool quitRequested() const { return quit_; }

  std::string listing();

 private:
  BusSimulator& bus_;
  bool quit_ = false;
};

// The description of the commands, for "help" and --help.
std::string commandHelp();

}  // namespace zelta
