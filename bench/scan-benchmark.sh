#!/usr/bin/env bash
# Reader scan benchmark: the real ZELTA_Reader window on the real platform
# scans 340 simulated modules (zelta_bus_sim on a pseudo-terminal, in real
# time) at the Fast rate for the first five sweeps, and is timed against the
# wire limit, once with the views closed and once with the frame monitor,
# string overview and trend plot open; when
# mosquitto is installed, a third time publishing to a local broker, and the
# publisher's sustained rate to that broker is measured; then closed and open
# again with replies handed over in 8-byte chunks; start-up time and memory
# are measured against an empty Qt window.
# The closed and open scans take turns, three rounds of each (ZELTA_BENCH_ROUNDS):
# sweep times are their means, and CPU is the round with the median CPU, since
# the kernel's share of it varies by several times from run to run on a
# virtual machine.
# Each goal is marked PASS or FAIL; the exit status is 1 when one failed.
# Usage: bash bench/scan-benchmark.sh   (about 16 minutes)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${ZELTA_BUILD_DIR:-$root/build}"
export ZELTA_BUILD_DIR="$build_dir"
modules=340
sweeps=5
rounds="${ZELTA_BENCH_ROUNDS:-3}"
turnaround_ms=3
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

bash "$root/scripts/build.sh" zelta_reader_bench zelta_bus_sim >/dev/null
find_binary() { find "$build_dir" -path "$build_dir/packages" -prune -o -type f -name "$1" -perm -u+x -print -quit; }
bench="$(find_binary zelta_reader_bench)"
sim="$(find_binary zelta_bus_sim)"

sim_out="$(mktemp)"
sim_pid=""
broker_pid=""
cleanup() {
  [[ -n "$sim_pid" ]] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  [[ -n "$broker_pid" ]] && kill "$broker_pid" 2>/dev/null && wait "$broker_pid" 2>/dev/null
  rm -f "$sim_out"
}
trap cleanup EXIT

value() { sed -n "s/^$1=//p" <<<"$2"; }

# Start-up: median of five runs each, from just before exec to the first paint.
median_startup() {
  local mode="$1" runs=() out
  for _ in 1 2 3 4 5; do
    out="$(BENCH_T0_NS="$(date +%s%N)" "$bench" "$mode" 2>/dev/null)"
    runs+=("$(value shown_ms "$out") $(value rss_kb "$out")")
  done
  printf '%s\n' "${runs[@]}" | sort -n | sed -n 3p
}
read -r reader_ms reader_kb <<<"$(median_startup startup)"
read -r empty_ms empty_kb <<<"$(median_startup startup-empty)"
read -r label_ms label_kb <<<"$(median_startup startup-label)"

# Starts the simulator with replies handed over CHUNK bytes at a time.
start_sim() {
  [[ -n "$sim_pid" ]] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  : >"$sim_out"
  "$sim" --modules "$modules" --turnaround "$turnaround_ms" --chunk "$1" </dev/null >"$sim_out" 2>/dev/null &
  sim_pid=$!
  device=""
  for _ in $(seq 100); do
    device="$(head -n 1 "$sim_out" 2>/dev/null | tr -d '\r')"
    [[ -n "$device" ]] && break
    sleep 0.1
  done
  [[ -n "$device" ]] || { echo "the bus simulator did not start" >&2; exit 1; }
}

# Closed and open scans taking turns; PREFIX names them in the results.
scan_rounds() {
  for round in $(seq "$rounds"); do
    scan+="$("$bench" scan "$device" "$modules" "$sweeps" | sed "s/^/${1}closed${round}_/")"$'\n'
    scan+="$("$bench" scan "$device" "$modules" "$sweeps" monitor | sed "s/^/${1}open${round}_/")"$'\n'
  done
}

scan=""
start_sim 1
echo "Scanning $modules simulated modules on $device at the Fast rate ($sweeps sweeps), $rounds rounds"
echo "of once with the views closed and once with the frame monitor, overview and trend open..."
scan_rounds ""

# The same scan publishing to a local broker (started here on a free port,
# local only, anonymous), then the publisher's rate on its own.
published=""
mosquitto_bin="$(PATH="$PATH:/usr/sbin:/usr/local/sbin" command -v mosquitto || true)"
if [[ -n "$mosquitto_bin" ]]; then
  for _ in $(seq 20); do
    broker_port=$((20000 + RANDOM % 20000))
    (exec 3<>"/dev/tcp/127.0.0.1/$broker_port") 2>/dev/null || break
  done
  "$mosquitto_bin" -p "$broker_port" >/dev/null 2>&1 &
  broker_pid=$!
  for _ in $(seq 100); do
    (exec 3<>"/dev/tcp/127.0.0.1/$broker_port") 2>/dev/null && break
    sleep 0.1
  done
  echo "Again, publishing every reading to a local broker (port $broker_port)..."
  published="$("$bench" scan "$device" "$modules" "$sweeps" "$broker_port" | sed 's/^/pub_/')"
  echo "Publishing 50000 readings as fast as the publisher takes them..."
  published+=$'\n'"$("$bench" publish-rate "$broker_port" 50000 | sed 's/^/rate_/')"
else
  echo "mosquitto not found: the scan with publishing is left out" >&2
fi

# A pseudo-terminal hands each reply byte over on its own (the Reader's read
# threshold then holds them back in the driver); a serial port's receive
# buffer (a 16550 UART's, usually at 8 bytes, or a USB adapter's) hands a
# reply over in one or two pieces.
start_sim 8
echo "Again, with replies handed over 8 bytes at a time, as a 16550 UART's receive buffer does..."
scan_rounds "fifo_"

awk -v modules="$modules" -v sweeps="$sweeps" -v turnaround="$turnaround_ms" \
    -v reader_ms="$reader_ms" -v empty_ms="$empty_ms" -v empty_kb="$empty_kb" \
    -v label_ms="$label_ms" '
  BEGIN { FS = "=" }
  { v[$1] = $2 }
  END {
    # One figure per mode from its rounds: sweep and exchange times their
    # means, memory the highest, CPU the round with the median CPU share.
    split("closed open fifo_closed fifo_open", modes, " ")
    for (m = 1; m <= 4; m++) {
      p = modes[m]
      delete share
      median = 1
      for (r = 1; (p r "_exchanges") in v; r++) {
        share[r] = v[p r "_cpu_s"] / v[p r "_wall_s"]
        shares[m] = shares[m] sprintf(" %.2f", share[r] * 100)
      }
      n = r - 1
      for (r = 1; r <= n; r++) {
        below = 0
        for (q = 1; q <= n; q++) below += share[q] < share[r] || (share[q] == share[r] && q < r)
        if (below == int((n - 1) / 2)) median = r
        for (k = 1; k <= sweeps; k++) v[p "_sweep" k "_ms"] += v[p r "_sweep" k "_ms"] / n
        v[p "_reply_wait_ms"] += v[p r "_reply_wait_ms"] / n
        v[p "_step_ms"] += v[p r "_step_ms"] / n
        if (v[p r "_rss_kb"] > v[p "_rss_kb"]) v[p "_rss_kb"] = v[p r "_rss_kb"]
      }
      split("cpu_s cpu_user_s wall_s exchanges monitor_rows", keys, " ")
      for (i in keys) v[p "_" keys[i]] = v[p median "_" keys[i]]
    }
    # Request and reply: 11 bytes of 10 bits each at 9600 baud, both ways.
    frame_ms = 11 * 10 / 9600 * 1000
    per_module = 2 * frame_ms + turnaround + 10
    limit = modules * per_module
    split("module type,hardware,software,voltage,temperature", kind, ",")
    printf "\n%-13s %12s %20s %20s\n", "", "", "views closed", "views open"
    printf "%-13s %12s %12s %7s %12s %7s\n", "sweep", "wire limit s", "measured s", "ratio",
           "measured s", "ratio"
    worst = 0; worst_open = 0; total = 0; total_open = 0
    for (k = 1; k <= sweeps; k++) {
      ms = v["closed_sweep" k "_ms"]; ms_open = v["open_sweep" k "_ms"]
      total += ms; total_open += ms_open
      if (ms / limit > worst) worst = ms / limit
      if (ms_open / limit > worst_open) worst_open = ms_open / limit
      printf "%-13s %12.3f %12.3f %7.3f %12.3f %7.3f\n", kind[k], limit / 1000, ms / 1000,
             ms / limit, ms_open / 1000, ms_open / limit
    }
    printf "(wire limit per module: 2 x %.3f ms frames + %d ms turnaround + 10 ms step = %.3f ms)\n",
           frame_ms, turnaround, per_module
    printf "All %d sweeps (mean of the rounds): views open %.3f s against closed %.3f s, %+.2f %% (the open monitor showed %d rows)\n",
           sweeps, total_open / 1000, total / 1000, (total_open / total - 1) * 100, v["open_monitor_rows"]
    printf "Mean per exchange (closed): request to last reply byte %.3f ms (wire %.3f), last byte to next request %.3f ms (10)\n",
           v["closed_reply_wait_ms"], 2 * frame_ms + turnaround, v["closed_step_ms"]
    printf "Mean per exchange (open):   request to last reply byte %.3f ms, last byte to next request %.3f ms\n",
           v["open_reply_wait_ms"], v["open_step_ms"]
    for (i = 1; i <= 2; i++) {
      p = (i == 1) ? "closed_" : "open_"
      cpu = v[p "cpu_s"]; wall = v[p "wall_s"]; n = v[p "exchanges"]
      cpu_pct[i] = cpu / wall * 100
      printf "%sCPU while scanning, views %-6s: %.3f s for %d exchanges = %.3f s per 1000 exchanges, %.2f %% of one core (in the program %.2f %%, the rest in the kernel)\n",
             (i == 1 ? "\n" : ""), (i == 1 ? "closed" : "open"), cpu, n, cpu / n * 1000, cpu_pct[i],
             v[p "cpu_user_s"] / wall * 100
      printf "  (the rounds: %s %% of one core; the median one is shown)\n", shares[i]
    }
    for (i = 3; i <= 4; i++) {
      p = (i == 3) ? "fifo_closed_" : "fifo_open_"
      cpu_pct[i] = v[p "cpu_s"] / v[p "wall_s"] * 100
      printf "%sCPU, replies in 8-byte chunks, views %-6s: %.2f %% of one core (in the program %.2f %%; rounds %s %%)\n",
             (i == 3 ? "\n" : ""), (i == 3 ? "closed" : "open"), cpu_pct[i],
             v[p "cpu_user_s"] / v[p "wall_s"] * 100, shares[i]
    }
    for (k = 1; k <= sweeps; k++) {
      fifo_closed += v["fifo_closed_sweep" k "_ms"]; fifo_open += v["fifo_open_sweep" k "_ms"]
    }
    printf "  (all %d sweeps: views open %.3f s against closed %.3f s, %+.2f %%)\n",
           sweeps, fifo_open / 1000, fifo_closed / 1000, (fifo_open / fifo_closed - 1) * 100
    printf "Peak memory: scanning reader %.1f MB (views open %.1f MB), empty Qt window %.1f MB, ratio %.2f\n",
           v["closed_rss_kb"] / 1024, v["open_rss_kb"] / 1024, empty_kb / 1024, v["closed_rss_kb"] / empty_kb
    printf "Start-up to window shown (median of 5): reader %.0f ms, empty Qt window %.0f ms, ratio %.2f\n",
           reader_ms, empty_ms, reader_ms / empty_ms
    printf "  (an empty window with one text label, which loads the fonts: %.0f ms)\n", label_ms
    if (v["pub_exchanges"] != "") {
      printf "\n%-13s %12s %12s %8s\n", "sweep", "off: ratio", "publishing", "change"
      for (k = 1; k <= sweeps; k++) {
        off = v["closed_sweep" k "_ms"]; on = v["pub_sweep" k "_ms"]
        offsum += off; onsum += on
        printf "%-13s %12.3f %12.3f %+7.2f %%\n", kind[k], off / limit, on / limit, (on / off - 1) * 100
      }
      change = (onsum / offsum - 1) * 100
      printf "All %d sweeps: %+.2f %% with publishing; still connected at the end: %s, dropped: %d\n",
             sweeps, change, v["pub_publish_connected"] == 1 ? "yes" : "no", v["pub_publish_dropped"]
      printf "CPU while scanning and publishing: %.3f s per 1000 exchanges (%.3f off)\n",
             v["pub_cpu_s"] / v["pub_exchanges"] * 1000, v["closed_cpu_s"] / v["closed_exchanges"] * 1000
      printf "Sustained to the local broker: %d readings in %.3f s = %.0f messages/s (%d dropped)\n",
             v["rate_messages"], v["rate_publish_s"], v["rate_messages"] / v["rate_publish_s"], v["rate_dropped"]
    }
    printf "\nGoals:\n"
    failed += goal("every sweep within 1.05 x the wire limit",
                   sprintf("worst %.3f closed, %.3f open", worst, worst_open),
                   worst <= 1.05 && worst_open <= 1.05)
    failed += goal("sweeps with the views open within 1 % of closed",
                   sprintf("%+.2f %%", (total_open / total - 1) * 100), total_open <= 1.01 * total)
    failed += goal("start-up within 1.5 x an empty window", sprintf("%.2f", reader_ms / empty_ms),
                   reader_ms <= 1.5 * empty_ms)
    failed += goal("peak memory within 1.5 x an empty window",
                   sprintf("%.2f", v["closed_rss_kb"] / empty_kb), v["closed_rss_kb"] <= 1.5 * empty_kb)
    failed += goal("CPU while scanning below 5 % of one core",
                   sprintf("%.2f %% closed, %.2f %% open", cpu_pct[1], cpu_pct[2]),
                   cpu_pct[1] < 5 && cpu_pct[2] < 5)
    failed += goal("the same, replies in 8-byte chunks",
                   sprintf("%.2f %% closed, %.2f %% open", cpu_pct[3], cpu_pct[4]),
                   cpu_pct[3] < 5 && cpu_pct[4] < 5)
    if (v["pub_exchanges"] != "")
      failed += goal("sweeps publishing within 1 % of without", sprintf("%+.2f %%", change),
                     change <= 1 && v["pub_publish_connected"] == 1)
    exit (failed > 0)
  }
  # Prints one goal marked PASS or FAIL; returns 1 when it failed.
  function goal(name, measured, met) {
    printf "  %-4s %-50s %s\n", met ? "PASS" : "FAIL", name, measured
    return met ? 0 : 1
  }' <<<"$scan"$'\n'"$published"
