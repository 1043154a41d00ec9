#!/usr/bin/env bash
# The browser edition end to end: every sample piece given to merrowby.html in
# headless Chromium as its CSV and as LibreOffice saves it (.xlsx and .ods),
# each compared with the native converter on the CSV; then a hostile piece.
#
#   tests/web/run.sh PAGE NATIVE_TABULON [BROWSER]
#
# Needs node, soffice (libreoffice-calc-nogui) and chromium-headless-shell.
set -euo pipefail
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
PAGE=$(realpath "$1")
NATIVE=$(realpath "$2")
BROWSER=${3:-/usr/bin/chromium-headless-shell}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# Each sample piece with the switches it is converted with.
declare -A switches=([RG110123]="" [RG090321]="" [RG120456]="-c" [HO107012]="-d" [RG100789]="-a")
mkdir "$WORK/sheets"
for piece in "${!switches[@]}"; do
  cp "$ROOT/examples/$piece.CSV" "$WORK/sheets/"
done
# Comma-separated, double quotes, Windows-1252; a profile of its own, so that
# no desktop's LibreOffice settings come in.
(cd "$WORK/sheets" &&
  for kind in xlsx ods; do
    soffice -env:UserInstallation="file://$WORK/profile" --headless --infilter=CSV:44,34,1 \
      --convert-to "$kind" ./*.CSV >/dev/null 2>&1
  done)

cases=()
for piece in "${!switches[@]}"; do
  given=${switches[$piece]}
  csv=$ROOT/examples/$piece.CSV
  cases+=("$csv:$given" "$WORK/sheets/$piece.xlsx:$given:$csv" "$WORK/sheets/$piece.ods:$given:$csv")
done
# The layout chosen by hand, and the other switches, on the CSV.
cases+=("$ROOT/examples/RG120456.CSV:=-c_-v_-r" "$ROOT/examples/RG100789.CSV:=-a_-q")
node "$HERE/page_test.js" "$PAGE" "$BROWSER" "$NATIVE" "$WORK" "${cases[@]}"
