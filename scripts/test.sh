#!/usr/bin/env bash
# The whole test suite: installs missing packages, builds, runs every test.
# Usage: bash scripts/test.sh [REGEX]   (REGEX selects tests as ctest -R does)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${ZELTA_BUILD_DIR:-$root/build}"
jobs="$(nproc 2>/dev/null || echo 2)"
(( jobs > 2 )) && jobs=2

bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"

filter=()
[[ $# -gt 0 && -n "$1" ]] && filter=(-R "$1")

cd "$build_dir"
ctest --output-on-failure --no-tests=error -j "$jobs" --timeout 300 "${filter[@]}"
