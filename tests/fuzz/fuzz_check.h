// A fuzz target's promise: a broken one aborts, which the fuzzer keeps as a
// crash and the corpus run reports as a failed test.
#pragma once

#include <cstdlib>

inline void check(bool ok) {
  if (!ok) std::abort();
}
