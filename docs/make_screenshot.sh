#!/bin/sh
# Writes docs/findings-page.png: the findings page of the sample piece
# examples/RG120456.CSV (1891, converted with -c) with one finding chosen, as
# headless Chromium shows it in a window of 1400 by 900.
#
#   docs/make_screenshot.sh [build directory, default build]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
browser=$(command -v chromium-headless-shell || command -v chromium)
work=$(mktemp -d /tmp/tabreport-shot-XXXXXX)
trap 'rm -rf "$work"' EXIT
cp "$root/examples/RG120456.CSV" "$work/"
(cd "$work" && "$build/src/tabulon/tabulon" -c RG120456.CSV >/dev/null 2>&1 || true)
(cd "$work" && "$build/src/tabreport/tabreport" -c RG120456.CSV)
"$browser" --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --hide-scrollbars --user-data-dir="$work/profile" \
    --window-size=1400,900 --screenshot="$root/docs/findings-page.png" \
    "file://$work/RG120456.html#finding=5" 2>/dev/null
