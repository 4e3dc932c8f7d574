#!/usr/bin/env bash
# Report benchmark: log files of a 340-block string with planted weak blocks
# (zelta_log_generator) at 1x, 4x and 16x a base length, read by zelta_report
# and by a short pandas script computing the same per-block table; wall time
# and peak memory of each, and a check that both tables agree.
# Usage: bash bench/report-benchmark.sh [--days N] [--scales "1 4 16"] [--year]
#   --days N   base length in days (default 2: 16x is a month, about 0.5 GB)
#   --year     a year of logs (about 5 GB on disk), zelta_report only at 1x
#              unless --scales is also given; pandas needs ~10 GB of memory then
# Installs python3-pandas (Debian) when it is missing.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${ZELTA_BUILD_DIR:-$root/build}"
export ZELTA_BUILD_DIR="$build_dir"
days=2
scales="1 4 16"
pandas=yes
while [[ $# -gt 0 ]]; do
  case "$1" in
    --days) days="$2"; shift 2 ;;
    --scales) scales="$2"; shift 2 ;;
    --year) days=365; scales=1; pandas=no; shift ;;
    --pandas) pandas=yes; shift ;;
    *) echo "unknown argument $1" >&2; exit 2 ;;
  esac
done

# Debian's Python, where python3-pandas goes (not one of a version manager).
python=/usr/bin/python3
[[ -x "$python" ]] || python=python3
if [[ "$pandas" == yes ]] && ! "$python" -c 'import pandas' 2>/dev/null; then
  sudo_cmd=()
  [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends python3-pandas >/dev/null ||
    { "${sudo_cmd[@]}" apt-get update -q >/dev/null &&
      "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends python3-pandas >/dev/null; }
fi

bash "$root/scripts/build.sh" zelta_report zelta_log_generator >/dev/null
find_binary() { find "$build_dir" -type f -name "$1" -perm -u+x -print -quit; }
report="$(find_binary zelta_report)"
generator="$(find_binary zelta_log_generator)"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Runs a command; prints "wall_s cpu_s peak_rss_kb" of it. CPU time (user and
# system) is the fair measure on a machine that others share too.
measure() {
  "$python" - "$@" <<'PY'
import resource, subprocess, sys, time
t = time.monotonic()
code = subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode
wall = time.monotonic() - t
if code not in (0, 1):
    sys.exit(f"{sys.argv[1]} failed with {code}")
use = resource.getrusage(resource.RUSAGE_CHILDREN)
print(f"{wall:.2f} {use.ru_utime + use.ru_stime:.2f} {use.ru_maxrss}")
PY
}

# Both per-block tables agree to the decimals zelta_report writes.
compare() {
  "$python" - "$1" "$2" <<'PY'
import csv, sys
def rows(path):
    with open(path, newline="") as f:
        return {int(r["block"]): r for r in csv.DictReader(f, delimiter=";")}
ours, theirs = rows(sys.argv[1]), rows(sys.argv[2])
bad = [] if ours.keys() == theirs.keys() else ["blocks differ"]
for block, r in theirs.items():
    for key, value in r.items():
        mine = ours.get(block, {}).get(key, "")
        if key == "block" or (value == "" and mine == ""):
            continue
        try:
            decimals = len(mine.split(".")[1]) if "." in mine else 0
            same = abs(float(mine) - float(value)) <= 0.5 * 10 ** -decimals + 1e-9
        except ValueError:
            same = mine == value
        if not same:
            bad.append(f"block {block} {key}: {mine} against {value}")
print("agree" if not bad else "DIFFER: " + "; ".join(bad[:5]))
PY
}

echo "Times in seconds, wall (CPU); speed-up by CPU time; peak memory in MB."
printf '%-5s %6s %6s %8s | %-20s %7s | %-20s %7s | %8s %s\n' scale days "MB" "V lines" \
  "zelta_report s" "peak" "pandas s" "peak" "speed-up" "tables"
for scale in $scales; do
  d="$work/logs-$scale"
  mkdir -p "$d"
  n="$("$python" -c "print($days * $scale)")"
  "$generator" "$n" "$d"
  mb="$(du -sm "$d" | cut -f1)"
  lines="$(wc -l <"$d/ZELTA_Reader_Voltages.csv")"
  read -r ours_s ours_cpu ours_kb <<<"$(measure "$report" -q "$d" -o "$work/report.pdf" -s "$work/ours.csv")"
  if [[ "$pandas" == yes ]]; then
    read -r pandas_s pandas_cpu pandas_kb <<<"$(measure "$python" "$root/bench/report_pandas.py" "$d" "$work/pandas.csv")"
    agree="$(compare "$work/ours.csv" "$work/pandas.csv")"
    speedup="$("$python" -c "print(f'{$pandas_cpu / $ours_cpu:.1f}x')")"
    pandas_s="$pandas_s ($pandas_cpu)"
    pandas_mb="$((pandas_kb / 1024))"
  else
    pandas_s="-"; pandas_mb="-"; speedup="-"; agree="-"
  fi
  printf '%-5s %6s %6s %8s | %-20s %7s | %-20s %7s | %8s %s\n' "${scale}x" "$n" "$mb" "$lines" \
    "$ours_s ($ours_cpu)" "$((ours_kb / 1024))" "$pandas_s" "$pandas_mb" "$speedup" "$agree"
  rm -rf "$d"
done
echo "Goals: zelta_report at least 5x faster than pandas; its peak memory flat from 1x to 16x."
