// Helpers of the long runs: how long to run, and the heap in use (sampled to
// show that a program does not grow with time).
#pragma once

#include <cstddef>

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

}  // namespace zelta::testing
