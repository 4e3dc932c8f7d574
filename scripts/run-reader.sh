#!/usr/bin/env bash
# Builds ZELTA_Reader and starts it with COM1 wired to 24 simulated modules
# (addresses 1 to 24). Open COM1 in the Reader, set "End Address" to 24, then
# start a scan. Simulator commands (set 3 volt 2.1, list, ...) are typed here.
set -euo pipefail
exec bash "$(dirname "${BASH_SOURCE[0]}")/run-with-sim.sh" ZELTA_Reader \
  "--modules 24 --first-address 1" "$@"
