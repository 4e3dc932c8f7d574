#!/usr/bin/env bash
# Configures the project in build/ (or $ZELTA_BUILD_DIR) and builds it;
# with ZELTA_SANITIZE=1 everything is built with AddressSanitizer and
# UndefinedBehaviorSanitizer.
# Arguments are target names to build; none builds everything. Builds into
# one folder take turns (a lock in the folder), so two demos started at once
# do not configure it at the same time.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${ZELTA_BUILD_DIR:-$root/build}"
jobs="$(nproc 2>/dev/null || echo 2)"
(( jobs > 2 )) && jobs=2

werror=OFF
[[ "${CI:-}" == "true" ]] && werror=ON
sanitize=OFF
if [[ "${ZELTA_SANITIZE:-}" == "1" ]]; then
  sanitize=ON
  # The instrumentation misleads GCC's flow warnings (array-bounds inside Qt
  # headers); the plain build is the one held to warnings as errors.
  werror=OFF
fi

mkdir -p "$build_dir"
if command -v flock >/dev/null 2>&1; then
  exec 9>"$build_dir/.build-lock"
  flock 9
fi

generator=()
if [[ ! -f "$build_dir/CMakeCache.txt" ]] && command -v ninja >/dev/null 2>&1; then
  generator=(-G Ninja)
fi

cmake -S "$root" -B "$build_dir" "${generator[@]}" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELTA_WERROR="$werror" -DZELTA_SANITIZE="$sanitize" >/dev/null

targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build_dir" "${targets[@]}" -j "$jobs"
