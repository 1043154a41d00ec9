#!/usr/bin/env bash
# Two converters, the same output: for speed work, where nothing the user sees may change.
#
#   bench/same-output.sh OLD_TABULON NEW_TABULON [ROWS]
#
# Generates pieces of every census kind (1841 to 1901, England and Scotland) in every layout
# and record length, clean and with slips (one row in seven, one in fifty), ROWS rows each
# (default 3000), converts each with both converters under -q, -v, -r and none of them, and
# compares everything they leave: the listing (its first line, which names the version and
# the time, excepted), the data file, the console and the exit status. Prints each difference
# and exits 1 when there is one. Each converter reads the code tables beside it, as it always
# does (a build tree has them).
#
# GENPIECE (default build-bench/bench/genpiece) is the piece generator; SAME_OUTPUT_PIECES
# (default: all eight) names the pieces generated, for a shorter run.
set -uo pipefail

if [ $# -lt 2 ]; then
  echo "usage: bench/same-output.sh OLD_TABULON NEW_TABULON [ROWS]" >&2
  exit 2
fi
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
OLD=$(realpath "$1")
NEW=$(realpath "$2")
ROWS=${3:-3000}
GENPIECE=${GENPIECE:-$ROOT/build-bench/bench/genpiece}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# run SIDE BINARY SWITCHES NAME: converts $WORK/NAME.CSV in $WORK/SIDE.
run() {
  local dir=$WORK/$1
  rm -rf "$dir"
  mkdir -p "$dir"
  cp "$WORK/$4.CSV" "$dir/"
  # shellcheck disable=SC2086
  (cd "$dir" && "$2" $3 "$4.CSV" >console.txt 2>&1; echo $? >status)
  # The first line of the listing names the version and the time of the run.
  sed -i '1d' "$dir/$4.erc" 2>/dev/null || true
}

runs=0
differ=0
PIECES=${SAME_OUTPUT_PIECES:-HO1070012 RG090321 RG100045 RG110123 RG120046 RG130045 RS6100456 RS8100456}
for name in $PIECES; do
  for layout in "" "-a" "-c" "-d" "-a -c" "-a -d"; do
    for slips in 0 7 50; do
      # shellcheck disable=SC2086
      "$GENPIECE" $layout -n "$ROWS" -e "$slips" -s $((slips + 3)) "$WORK/$name.CSV" >/dev/null 2>&1 || continue
      for switches in "" "-q" "-v" "-r" "-v -r"; do
        runs=$((runs + 1))
        run old "$OLD" "$layout $switches" "$name"
        run new "$NEW" "$layout $switches" "$name"
        if ! diff -r "$WORK/old" "$WORK/new" >/dev/null; then
          echo "differ: $name.CSV $layout $switches (slips every $slips rows):" $(diff -rq "$WORK/old" "$WORK/new" | sed 's|.*/||')
          differ=1
        fi
      done
    done
  done
done
echo "$runs conversions compared, $([ $differ = 0 ] && echo "all the same" || echo "some differ")"
exit $differ
