#!/usr/bin/env bash
# Builds a program and the bus simulator and starts them together: port COM1
# of the program is a link, made for this run alone, to a simulated string of
# modules on a pseudo-terminal. The simulator reads its commands (press 1,
# list, ...) from this terminal while the program's window is open; closing
# the program ends the simulator, and Ctrl-C ends both.
# Usage: bash scripts/run-with-sim.sh PROGRAM "SIMULATOR OPTIONS" [PROGRAM ARGS...]
# With ZELTA_DEMO_CHECK=1 it stops once the simulator is up and COM1 is known,
# after printing "demo ready: COM1=LINK -> DEVICE, simulator PID" (the start-up
# check of CI, scripts/check-demo.sh).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${ZELTA_BUILD_DIR:-$root/build}"
export ZELTA_BUILD_DIR="$build_dir"
program="$1"
read -r -a sim_options <<<"$2"
shift 2
simulator=zelta_bus_sim

bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" "$program" "$simulator"

binary() {
  local path
  # Not the copies staged for the Debian package (scripts/package.sh).
  path="$(find "$build_dir" -path "$build_dir/packages" -prune -o -type f -name "$1" -perm -u+x -print -quit)"
  if [[ -z "$path" ]]; then
    echo "$1 was not built (no such executable under $build_dir)." >&2
    exit 1
  fi
  echo "$path"
}
program_bin="$(binary "$program")"
sim_bin="$(binary "$simulator")"

if [[ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" && "${ZELTA_DEMO_CHECK:-}" != 1 ]]; then
  echo "Note: no display found (DISPLAY/WAYLAND_DISPLAY unset); the window may not open." >&2
fi

# A folder of this run's own, so that two runs never share (or steal) a link.
run_dir="$(mktemp -d "${XDG_RUNTIME_DIR:-${TMPDIR:-/tmp}}/zelta-demo.XXXXXX")"
link="$run_dir/COM1"
sim_pid=""
program_pid=""
finish() {
  for pid in "$program_pid" "$sim_pid"; do
    [[ -n "$pid" ]] && kill "$pid" 2>/dev/null || true
  done
  for pid in "$program_pid" "$sim_pid"; do
    [[ -n "$pid" ]] && wait "$pid" 2>/dev/null || true
  done
  rm -rf "$run_dir"
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Background jobs of a script read /dev/null unless told otherwise: hand the
# simulator this script's own input, the terminal, for its commands.
if [[ "${ZELTA_DEMO_CHECK:-}" == 1 ]]; then
  "$sim_bin" "${sim_options[@]}" --link "$link" </dev/null &
else
  "$sim_bin" "${sim_options[@]}" --link "$link" <&0 &
fi
sim_pid=$!

for _ in $(seq 200); do
  [[ -L "$link" ]] && break
  kill -0 "$sim_pid" 2>/dev/null || break
  sleep 0.05
done
device="$(readlink "$link" 2>/dev/null || true)"
if [[ -z "$device" || ! -c "$device" ]] || ! kill -0 "$sim_pid" 2>/dev/null; then
  echo "The bus simulator did not start (no device behind $link)." >&2
  exit 1
fi
export ZELTA_COM1="$link"

if [[ "${ZELTA_DEMO_CHECK:-}" == 1 ]]; then
  echo "demo ready: COM1=$link -> $device, simulator $sim_pid"
  exit 0
fi

echo "COM1 is $link: simulated modules (${sim_options[*]}) on $device."
echo "Choose COM1 in $program and press \"Open\"."
echo "Type simulator commands here (help lists them); closing $program ends the simulator."
"$program_bin" "$@" </dev/null &
program_pid=$!
status=0
wait "$program_pid" || status=$?
program_pid=""
exit "$status"
