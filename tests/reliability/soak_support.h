// Helpers of the reliability tests: how long to run, the heap in use (sampled
// to show that a program does not grow with time), CPU time used, and a check
// of what a program put on the wire.
#pragma once

#include <QString>
#include <cstddef>
#include <initializer_list>
#include <vector>

#include "sim/bus_simulator.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZELTA_UNDER_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ZELTA_UNDER_ASAN 1
#endif

namespace zelta::testing {

#ifdef ZELTA_UNDER_ASAN
inline constexpr bool kUnderSanitizer = true;
#else
inline constexpr bool kUnderSanitizer = false;
#endif

// Hours of virtual time: the environment variable ZELTA_SOAK_HOURS if set,
// else the given default (less under the sanitizers, which run far slower).
int soakHours(int normal, int sanitized);
// Bytes handed out by malloc and not freed.
std::size_t heapInUse();
// CPU seconds this process has used.
double cpuSeconds();

// The first frame that does not start with "#", has a wrong check byte, an
// address outside [lowestAddress, highestAddress] or a code not in codes (an
// empty list allows every code), described; empty when all are good.
QString wireProblem(const std::vector<BusSimulator::WireFrame>& frames, int lowestAddress,
                    int highestAddress, std::initializer_list<int> codes = {});

}  // namespace zelta::testing
