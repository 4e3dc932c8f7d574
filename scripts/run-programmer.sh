#!/usr/bin/env bash
# Builds ZELTA_Programmer and starts it with COM1 wired to 24 simulated modules
# that have no address yet. Arguments go to the Programmer (e.g. -e). The
# installer's button presses are typed here: press 1, press 2, ...
set -euo pipefail
exec bash "$(dirname "${BASH_SOURCE[0]}")/run-with-sim.sh" ZELTA_Programmer \
  "--modules 24 --unaddressed" "$@"
