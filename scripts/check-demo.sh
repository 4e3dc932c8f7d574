#!/usr/bin/env bash
# Starts the two demos (scripts/run-reader.sh, scripts/run-programmer.sh) as
# the README has a user start them, two at a time, in ten rounds (so each
# demo starts ten times). In a round one demo runs in full, its program
# offscreen, and while it runs the other is started up to the point where its
# simulator is up and COM1 is known (ZELTA_DEMO_CHECK=1); they swap roles each
# round. Every start must come up on a simulator and a COM1 link of its own,
# leave the other's alone, and leave no simulator, program or link behind.
# Usage: bash scripts/check-demo.sh [ROUNDS]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
rounds="${1:-10}"
out="$(mktemp -d)"
full_pid=""
cleanup() {
  [[ -n "$full_pid" ]] && kill "$full_pid" 2>/dev/null && wait "$full_pid" 2>/dev/null
  rm -rf "$out"
}
trap cleanup EXIT
passed=0
failed=0
problems=()

expect() {  # expect MESSAGE COMMAND...: notes MESSAGE when the command fails
  local message="$1"
  shift
  "$@" || problems+=("$message")
}
gone() { ! kill -0 "$1" 2>/dev/null; }
no_link() { [[ ! -e "$1" && ! -L "$1" ]]; }
points_to() { [[ "$(readlink "$1" 2>/dev/null)" == "$2" ]]; }
tally() {  # tally NAME LOG: counts one start, showing why it failed
  if [[ ${#problems[@]} -eq 0 ]]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    local IFS=';'
    echo "FAIL: $1: ${problems[*]}" >&2
    sed 's/^/  | /' "$2" >&2
  fi
  problems=()
}

# One round: demo FULL runs in full while demo CHECKED starts beside it.
round() {
  local full="$1" checked="$2" line="" link="" device="" children=() ready status=0
  QT_QPA_PLATFORM=offscreen bash "$root/scripts/run-$full.sh" </dev/null >"$out/full.log" 2>&1 &
  full_pid=$!
  # The first start builds the programs: allow it the time of a full build.
  for ((i = 0; i < 18000; i++)); do
    line="$(grep -m 1 '^COM1 is ' "$out/full.log" || true)"
    [[ -n "$line" ]] && break
    kill -0 "$full_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [[ "$line" =~ ^COM1\ is\ (.+):\ simulated\ modules\ .*\ on\ (/dev/[^ ]+)\.$ ]]; then
    link="${BASH_REMATCH[1]}"
    device="${BASH_REMATCH[2]}"
  fi
  sleep 1  # time for the program to come up, or to fail
  mapfile -t children < <(pgrep -P "$full_pid" || true)
  expect "it did not come up" test -n "$link"
  expect "its simulator and program are not both running (${children[*]})" test "${#children[@]}" -eq 2

  ZELTA_DEMO_CHECK=1 bash "$root/scripts/run-$checked.sh" </dev/null >"$out/checked.log" 2>&1 || status=$?
  ready="$(grep -m 1 '^demo ready: ' "$out/checked.log" || true)"
  local checked_link="" checked_device="" checked_sim=""
  if [[ "$ready" =~ ^demo\ ready:\ COM1=(.+)\ -\>\ (/dev/[^,]+),\ simulator\ ([0-9]+)$ ]]; then
    checked_link="${BASH_REMATCH[1]}"
    checked_device="${BASH_REMATCH[2]}"
    checked_sim="${BASH_REMATCH[3]}"
  fi
  expect "the running $full demo's COM1 was taken over" points_to "$link" "$device"
  expect "the running $full demo ended" kill -0 "$full_pid"

  kill -TERM "$full_pid" 2>/dev/null || true
  wait "$full_pid" 2>/dev/null || true
  full_pid=""
  for child in "${children[@]}"; do expect "process $child stayed after the end" gone "$child"; done
  expect "its link $link stayed after the end" no_link "$link"
  tally "run-$full.sh (in full)" "$out/full.log"

  expect "exit status $status" test "$status" -eq 0
  expect "no ready line" test -n "$checked_sim"
  if [[ -n "$checked_sim" ]]; then
    expect "shared the link $link" test "$checked_link" != "$link"
    expect "shared the device $device" test "$checked_device" != "$device"
    expect "its simulator stayed after the end" gone "$checked_sim"
    expect "its link stayed after the end" no_link "$checked_link"
  fi
  tally "run-$checked.sh (start-up)" "$out/checked.log"
  echo "$full in full on ${device:--}, $checked beside it on ${checked_device:--}"
}

for ((r = 1; r <= rounds; r++)); do
  if ((r % 2)); then round reader programmer; else round programmer reader; fi
done

echo "demo start-ups: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
