#!/usr/bin/env bash
# Builds the Debian package of the programs (CPack) from the build in build/
# (or $ZELTA_BUILD_DIR) and prints the package's path as its last line.
# Usage: bash scripts/package.sh
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${ZELTA_BUILD_DIR:-$root/build}"
export ZELTA_BUILD_DIR="$build_dir"

bash "$root/scripts/install-deps.sh" package
bash "$root/scripts/build.sh"
rm -f "$build_dir"/packages/*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)
ls "$build_dir"/packages/*.deb
