#!/bin/sh
# Writes docs/tabreport.png: the report of the sample piece examples/RG090321.CSV
# as headless Chromium shows it.
#
#   docs/make_screenshot.sh [build directory, default build]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
browser=$(command -v chromium-headless-shell || command -v chromium)
work=$(mktemp -d /tmp/tabreport-shot-XXXXXX)
trap 'rm -rf "$work"' EXIT
cp "$root/examples/RG090321.CSV" "$work/"
(cd "$work" && "$build/src/tabulon/tabulon" RG090321.CSV >/dev/null 2>&1 || true)
(cd "$work" && "$build/src/tabreport/tabreport" RG090321.CSV)
"$browser" --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --hide-scrollbars --user-data-dir="$work/profile" \
    --window-size=1200,760 --screenshot="$root/docs/tabreport.png" "file://$work/RG090321.html" 2>/dev/null
