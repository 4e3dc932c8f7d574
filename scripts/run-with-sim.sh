#!/usr/bin/env bash
# Builds a program and starts it with port COM1 wired to a simulated string of
# modules (the bus simulator on a pseudo-terminal). The simulator is stopped
# when the program exits. Without a simulator the program starts alone.
# Usage: bash scripts/run-with-sim.sh PROGRAM "SIMULATOR OPTIONS" [PROGRAM ARGS...]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${ZELTA_BUILD_DIR:-$root/build}"
export ZELTA_BUILD_DIR="$build_dir"
program="$1"
read -r -a sim_options <<<"$2"
shift 2

bash "$root/scripts/install-deps.sh"

simulator=zelta_bus_sim
targets=("$program")
have_sim=0
if bash "$root/scripts/build.sh" --has "$simulator"; then
  targets+=("$simulator")
  have_sim=1
fi
bash "$root/scripts/build.sh" "${targets[@]}"

find_binary() {
  find "$build_dir" -type f -name "$1" -perm -u+x -print -quit
}

program_bin="$(find_binary "$program")"
if [[ -z "$program_bin" ]]; then
  echo "$program was not built (no such executable under $build_dir)." >&2
  exit 1
fi

if [[ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "Note: no display found (DISPLAY/WAYLAND_DISPLAY unset); the window may not open." >&2
fi

sim_pid=""
stop_sim() {
  if [[ -n "$sim_pid" ]]; then
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
  [[ -n "${sim_out:-}" ]] && rm -f "$sim_out"
}
trap stop_sim EXIT
trap 'exit 130' INT TERM

if [[ $have_sim -eq 1 ]]; then
  sim_bin="$(find_binary "$simulator")"
  link="${XDG_RUNTIME_DIR:-/tmp}/zelta-COM1"
  sim_out="$(mktemp)"
  "$sim_bin" "${sim_options[@]}" --link "$link" >"$sim_out" 2>&1 &
  sim_pid=$!
  device=""
  for _ in $(seq 100); do
    device="$(head -n 1 "$sim_out" 2>/dev/null | tr -d '\r')"
    [[ -n "$device" ]] && break
    if ! kill -0 "$sim_pid" 2>/dev/null; then break; fi
    sleep 0.1
  done
  # The first line names the device; use the link when it is there instead.
  device="${device%% *}"
  [[ -e "$link" ]] && device="$link"
  if [[ -z "$device" || ! -e "$device" ]]; then
    echo "The bus simulator did not start:" >&2
    cat "$sim_out" >&2
    exit 1
  fi
  export ZELTA_COM1="$device"
  echo "Simulated modules (${sim_options[*]}) on $device: open COM1 in $program."
else
  echo "Note: no bus simulator in this tree; $program starts without simulated modules."
fi

"$program_bin" "$@"
