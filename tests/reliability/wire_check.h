// Checks of what a program put on the wire: every frame starts with "#",
// carries a correct check byte, a request code the program may send and an
// address within the range the caller allows.
#pragma once

#include <QString>
#include <initializer_list>
#include <vector>

#include "sim/bus_simulator.h"

namespace zelta::testing {

// The first frame that breaks the rules, described; empty when all are good.
// An empty list of codes allows every code.
QString wireProblem(const std::vector<BusSimulator::WireFrame>& frames, int lowestAddress,
                    int highestAddress, std::initializer_list<int> codes = {});

}  // namespace zelta::testing
