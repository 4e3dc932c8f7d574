#!/usr/bin/env bash
# Configures the project in build/ (or $ZELTA_BUILD_DIR) and builds it;
# with ZELTA_SANITIZE=1 everything is built with AddressSanitizer and
# UndefinedBehaviorSanitizer.
# Arguments are target names to build; none builds everything.
# With --has TARGET it only configures and answers (exit status) whether the
# tree defines that target.
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

generator=()
if [[ ! -f "$build_dir/CMakeCache.txt" ]] && command -v ninja >/dev/null 2>&1; then
  generator=(-G Ninja)
fi

cmake -S "$root" -B "$build_dir" "${generator[@]}" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELTA_WERROR="$werror" -DZELTA_SANITIZE="$sanitize" >/dev/null

if [[ "${1:-}" == "--has" ]]; then
  if [[ -f "$build_dir/build.ninja" ]]; then
    ninja -C "$build_dir" -t targets all 2>/dev/null | grep -q "^$2:"
  else
    make -C "$build_dir" help 2>/dev/null | grep -q "\.\.\. $2\$"
  fi
  exit
fi

targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build_dir" "${targets[@]}" -j "$jobs"
