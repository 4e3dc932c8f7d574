#!/usr/bin/env bash
# Fuzzes the wire code with libFuzzer: the receiver of both programs, the reply
# decoders, the number readers and the CSV line assembly. Each target runs for
# FUZZ_SECONDS (default 60). A crash
# is copied to tests/fuzz/crashes/<target>/, where the regular suite replays it.
# New inputs found are kept in build-fuzz/<target>/work; copy the good ones
# into tests/fuzz/corpus/<target>/ to keep them.
#   bash scripts/fuzz.sh [target ...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${FUZZ_SECONDS:-60}
out="$root/build-fuzz"

need=()
command -v clang++ >/dev/null || need+=(clang)
dpkg-query -W -f='${Status}' libclang-rt-14-dev 2>/dev/null | grep -q "ok installed" || need+=(libclang-rt-14-dev)
if [ ${#need[@]} -gt 0 ]; then
  sudo_cmd=(); [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${need[@]}"
fi

protocol_sources=("$root"/protocol/*.cpp)
declare -A extra=(
  [receiver]=""
  [decoders]=""
  [numbers]=""
)
# The CSV line assembly is Qt code: Debian's Qt Core links fine with clang.
qt_core=$(pkg-config --cflags --libs Qt6Core 2>/dev/null || true)
if [ -n "$qt_core" ]; then
  extra[csv_line]="$root/reader/csv_text.cpp -fPIC $qt_core"
else
  echo "Qt6Core not found by pkg-config (package qt6-base-dev): csv_line left out" >&2
fi

targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${!extra[@]}")

mkdir -p "$out"
status=0
for t in "${targets[@]}"; do
  src="$root/tests/fuzz/${t}_fuzz.cpp"
  corpus="$root/tests/fuzz/corpus/$t"
  crashes="$root/tests/fuzz/crashes/$t"
  mkdir -p "$corpus" "$crashes" "$out/$t/work"
  # shellcheck disable=SC2086
  clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root" "$src" "${protocol_sources[@]}" ${extra[$t]-} -o "$out/fuzz_$t"
  echo "== $t: ${seconds}s"
  if ! (cd "$out/$t" && "$out/fuzz_$t" -max_total_time="$seconds" -print_final_stats=1 \
          -artifact_prefix="$crashes/" "$out/$t/work" "$corpus" 2>"$out/$t/log" ||
        exit 1); then
    echo "   CRASH: see $out/$t/log and $crashes/"
    status=1
  fi
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$out/$t/log" | sed 's/^/   /'
done
exit $status
