#!/usr/bin/env bash
# Builds the screenshot program and renders the documentation pictures
# (offscreen, on the simulated bus) into docs/.
# Usage: bash scripts/render-screenshots.sh [OUTPUT FOLDER]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${ZELTA_BUILD_DIR:-$root/build}"
export ZELTA_BUILD_DIR="$build_dir"
out="${1:-$root/docs}"

bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" zelta_screenshots
program="$(find "$build_dir" -type f -name zelta_screenshots -perm -u+x -print -quit)"
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen "$program" "$out"
