#!/usr/bin/env bash
# The whole test suite: installs missing packages, builds, runs every test.
# Usage: bash scripts/test.sh [REGEX]   (REGEX selects tests as ctest -R does)
# The long soak runs (label "soak") run on CI (CI=true) or with ZELTA_SOAK=1.
# On CI, or with ZELTA_SANITIZE_RUN=1, the suite then runs a second time
# built with AddressSanitizer and UndefinedBehaviorSanitizer, in
# build-sanitize/.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${ZELTA_BUILD_DIR:-$root/build}"
jobs="$(nproc 2>/dev/null || echo 2)"
(( jobs > 2 )) && jobs=2

bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"

filter=()
[[ $# -gt 0 && -n "$1" ]] && filter=(-R "$1")
[[ "${CI:-}" == "true" || "${ZELTA_SOAK:-}" == "1" ]] || filter+=(-LE soak)

(cd "$build_dir" && ctest --output-on-failure --no-tests=error -j "$jobs" --timeout 300 "${filter[@]}")

if [[ "${CI:-}" == "true" || "${ZELTA_SANITIZE_RUN:-}" == "1" ]]; then
  echo "== the same suite under AddressSanitizer and UndefinedBehaviorSanitizer"
  sanitize_dir="${ZELTA_SANITIZE_DIR:-$root/build-sanitize}"
  ZELTA_BUILD_DIR="$sanitize_dir" ZELTA_SANITIZE=1 bash "$root/scripts/build.sh"
  # Leak checking stays off: Qt and fontconfig keep caches until exit.
  (cd "$sanitize_dir" &&
    ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --output-on-failure --no-tests=error -j "$jobs" --timeout 600 "${filter[@]}")
fi
