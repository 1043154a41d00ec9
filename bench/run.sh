#!/usr/bin/env bash
# Benchmarks of the converter.
#
#   bench/run.sh            the whole program on 100,000 and 1,000,000 rows, then the
#                           micro-benchmarks (about five minutes)
#   bench/run.sh --smoke    a short run that checks what the benchmark checks, without
#                           timing anything that matters (CI)
#   bench/run.sh --no-micro the whole-program part only
#
# BENCH_TABULON=PATH times another converter (say, one built from an older commit)
# on the same pieces, for a before-and-after comparison.
#
# It builds an optimised tree of its own (BENCH_BUILD, default build-bench/; Google
# Benchmark is installed with apt-get when it is missing and we are root), writes
# generated pieces to BENCH_WORK (default BENCH_BUILD/pieces), and for each piece:
#   - times the baselines `cat PIECE > /dev/null` and `cp PIECE COPY` (the disk and the
#     page cache on this machine at this moment),
#   - times tabulon on the piece with /usr/bin/time -v (best of BENCH_REPEAT runs, default 3),
#   - checks the exit status: 0 for a clean piece; for a piece with slips, every slip
#     the generator made is reported by the listing line for its kind.
# Rows per second and MB per second come from the wall-clock time; peak memory is
# the maximum resident set size. The columns "x cat" and "x cp" give tabulon's time
# as a multiple of the baselines', the figures to compare between runs on a machine
# that other people use at the same time.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${BENCH_BUILD:-$ROOT/build-bench}
WORK=${BENCH_WORK:-$BUILD/pieces}
REPEAT=${BENCH_REPEAT:-3}
JOBS=${BENCH_JOBS:-2}
SIZES=(100000 1000000)
MICRO=1
SMOKE=

for arg in "$@"; do
  case $arg in
    --smoke) SMOKE=1; SIZES=(3000); REPEAT=1 ;;
    --no-micro) MICRO= ;;
    *) echo "usage: bench/run.sh [--smoke] [--no-micro]" >&2; exit 2 ;;
  esac
done

say() { printf '\n=== %s\n' "$*"; }

# Google Benchmark for the micro-benchmarks, installed when missing (as root).
have_benchmark() {
  dpkg-query -W -f='${Status}' libbenchmark-dev 2>/dev/null | grep -q "install ok installed" && return 0
  if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
    say "installing libbenchmark-dev"
    DEBIAN_FRONTEND=noninteractive apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q libbenchmark-dev
    return 0
  fi
  echo "Google Benchmark (libbenchmark-dev) is not installed: micro-benchmarks skipped" >&2
  return 1
}

build() {
  local bench=OFF
  if [ -n "$MICRO" ] && have_benchmark; then bench=ON; else MICRO=; fi
  say "build ($BUILD, micro-benchmarks $bench)"
  cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DMERROWBY_TESTS=OFF -DMERROWBY_BENCH=$bench >/dev/null
  cmake --build "$BUILD" -j "$JOBS" --target tabulon tabulon_code_tables genpiece $([ $bench = ON ] && echo micro_bench)
}

# time_run OUT -- COMMAND...: runs COMMAND under /usr/bin/time -v, leaves "seconds kbytes" in OUT.
# The seconds are measured here to the microsecond (time -v gives hundredths).
time_run() {
  local out=$1
  shift 2
  local log status=0 start end
  log=$(mktemp)
  start=$EPOCHREALTIME
  /usr/bin/time -v -o "$log" "$@" 2>/dev/null >/dev/null || status=$?
  end=$EPOCHREALTIME
  awk -F': ' -v start="$start" -v end="$end" '
    /Maximum resident set size/ { kb = $2 }
    END { printf "%.3f %d\n", end - start, kb }' "$log" >"$out"
  rm -f "$log"
  return $status
}

# best_of [--fresh FILE]... COMMAND...: the fastest of REPEAT runs, as "seconds kbytes
# status". The files given with --fresh are removed before each run, outside the timing.
best_of() {
  local best="" result status fresh=()
  while [ "${1-}" = --fresh ]; do
    fresh+=("$2")
    shift 2
  done
  result=$(mktemp)
  for _ in $(seq "$REPEAT"); do
    [ ${#fresh[@]} -eq 0 ] || rm -f "${fresh[@]}"
    status=0
    time_run "$result" -- "$@" || status=$?
    read -r secs kb <"$result"
    if [ -z "$best" ] || awk -v a="$secs" -v b="${best%% *}" 'BEGIN { exit !(a < b) }'; then
      best="$secs $kb $status"
    fi
  done
  rm -f "$result"
  echo "$best"
}

# check_slips PIECE_REPORT LISTING: every slip the generator made has its finding.
check_slips() {
  local report=$1 listing=$2 failed=0
  while read -r word kind count pattern; do
    [ "$word" = slip ] || continue
    local found
    found=$(grep -a -c -E -- "$pattern" "$listing" || true)
    if [ "$found" -ne "$count" ]; then
      echo "  slip $kind: made $count, the listing reports $found (/$pattern/)" >&2
      failed=1
    fi
  done <"$report"
  return $failed
}

rate() { awk -v n="$1" -v s="$2" 'BEGIN { if (s > 0) printf "%.0f", n / s; else print "-" }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.1f", a / b; else print "-" }'; }

whole_program() {
  mkdir -p "$WORK"
  local tabulon=${BENCH_TABULON:-$BUILD/src/tabulon/tabulon} genpiece=$BUILD/bench/genpiece failures=0
  say "whole program: $tabulon, $(nproc) processors, load average $(cut -d' ' -f1-3 /proc/loadavg)"
  printf '%-22s %9s %7s %8s %8s %8s %11s %8s %9s %6s %6s\n' \
    piece rows MB cat_s cp_s tabulon_s rows/s MB/s peak_KiB "x cat" "x cp"
  for rows in "${SIZES[@]}"; do
    for kind in clean slips; do
      local dir=$WORK/$kind-$rows
      mkdir -p "$dir"
      local piece=$dir/RG110123.CSV slip_every=0
      [ $kind = slips ] && slip_every=50
      if [ ! -s "$piece" ] || [ ! -s "$dir/generated" ] || ! grep -q "^rows $rows$" "$dir/generated"; then
        "$genpiece" -n "$rows" -e "$slip_every" -s 1881 "$piece" >"$dir/generated"
      fi
      local bytes
      bytes=$(stat -c %s "$piece")
      cat "$piece" >/dev/null  # into the page cache, as for every run after the first
      read -r cat_s _ _ <<<"$(best_of cat "$piece")"
      read -r cp_s _ _ <<<"$(best_of cp "$piece" "$dir/copy.CSV")"
      rm -f "$dir/copy.CSV"
      # Every run writes its output anew, as cp does: replacing the 256 MB of
      # records of the run before would add the system's time to free them.
      read -r tab_s tab_kb status <<<"$(cd "$dir" && best_of --fresh rg110123.dat --fresh RG110123.erc "$tabulon" RG110123.CSV)"
      local mb
      mb=$(awk -v b="$bytes" 'BEGIN { printf "%.1f", b / 1e6 }')
      printf '%-22s %9d %7s %8s %8s %9s %11s %8s %9s %6s %6s\n' "$kind-$rows" "$rows" "$mb" "$cat_s" "$cp_s" \
        "$tab_s" "$(rate "$rows" "$tab_s")" "$(rate "$mb" "$tab_s")" "$tab_kb" \
        "$(ratio "$tab_s" "$cat_s")" "$(ratio "$tab_s" "$cp_s")"
      if [ $kind = clean ] && [ "$status" -ne 0 ]; then
        echo "  the clean piece converted with status $status (see $dir/RG110123.erc)" >&2
        failures=1
      elif [ $kind = slips ] && { [ "$status" -ne 8 ] || ! check_slips "$dir/generated" "$dir/RG110123.erc"; }; then
        echo "  the piece with slips converted with status $status (see $dir/RG110123.erc)" >&2
        failures=1
      fi
      local records
      records=$(( $(stat -c %s "$dir/rg110123.dat") / 256 ))
      if [ "$records" -ne "$rows" ]; then
        echo "  $records records for $rows rows" >&2
        failures=1
      fi
    done
  done
  return $failures
}

# Every layout and record length, English, Scottish and 1841 pieces: a clean
# generated piece converts with status 0.
shapes() {
  say "generated pieces of every shape convert cleanly"
  local tabulon=$BUILD/src/tabulon/tabulon genpiece=$BUILD/bench/genpiece failures=0
  local shape
  for shape in "RG110123.CSV" "RG110123.CSV -a" "RG120456.CSV -c" "RG130001.CSV -d" "RG100789.CSV -a -c" \
    "RG090321.CSV -a -d" "HO1070012.CSV" "HO1070012.CSV -d" "HO1070012.CSV -a -d" "HO5A0007.CSV -c" \
    "RS6100456.CSV" "RS8100456.CSV -d" "RS9100456.CSV -a -c"; do
    local file=${shape%% *} switches=
    [ "$file" != "$shape" ] && switches=${shape#* }
    local dir=$WORK/shape-$(echo "$shape" | tr -d ' .-')
    mkdir -p "$dir"
    # shellcheck disable=SC2086
    "$genpiece" $switches -n 5000 -s 7 "$dir/$file" >/dev/null
    local status=0
    # shellcheck disable=SC2086
    (cd "$dir" && "$tabulon" $switches "$file" 2>/dev/null) || status=$?
    printf '  %-22s status %d\n' "$shape" "$status"
    [ "$status" -eq 0 ] || failures=1
  done
  return $failures
}

micro() {
  say "micro-benchmarks"
  local min_time=0.5
  [ -n "$SMOKE" ] && min_time=0.01
  "$BUILD/bench/micro_bench" --benchmark_min_time="$min_time" --benchmark_counters_tabular=true
}

failed=0
build
shapes || failed=1
whole_program || failed=1
if [ -n "$MICRO" ]; then
  micro
fi
if [ $failed -ne 0 ]; then
  say "done: some piece did not convert as expected (see above)"
  exit 1
fi
say "done"
