#!/usr/bin/env bash
# Checks the Windows installer under Wine, in a prefix of its own made afresh:
# a silent installation, a piece converted by the installed tabulon from
# another folder (the same listing and records as the native converter, less
# the CRs), the command of the right-click entry "Check with Merrowby" run on a
# piece whose path has blanks, an upgrade over the installation, and a silent
# uninstallation that leaves no file and no registry key of ours. A user PATH
# longer than the installer's strings (1,359 characters) must come through
# all of it unchanged.
#
#   tests/installer/check.sh SETUP.EXE NATIVE_TABULON
#
# WINE and WINESERVER name Wine's programs (default: Debian's wine64).
set -euo pipefail

setup=$(realpath "$1")
native_tabulon=$(realpath "$2")
examples=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../examples" && pwd)
WINE=${WINE:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}

work=$(mktemp -d /tmp/installer-check-XXXXXX)
export WINEPREFIX=$work/prefix WINEDEBUG=-all
# No menu entries or icons in the Linux desktop for the Start menu shortcuts.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
cleanup() {
  "$WINESERVER" -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  printf 'installer check: %s\n' "$*" >&2
  exit 1
}
step() { printf 'installer check: %s (%ds)\n' "$*" "$SECONDS"; }

# Runs a Windows program and waits until every process it started has ended
# (the uninstaller hands over to a copy of itself and returns at once).
run_windows() {
  "$WINE" "$@"
  "$WINESERVER" -w
}

drive_c=$WINEPREFIX/drive_c
install_dir="$drive_c/Program Files/Merrowby"
start_menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Merrowby census tools"
verb_key='HKLM\Software\Classes\SystemFileAssociations\.csv\shell\MerrowbyCheck'

# The registry branches an installer writes to, as text, less the state Wine
# keeps for itself under HKCU\Software\Wine (window metrics and the like).
registry_snapshot() {
  local out=$1 key
  : >"$out"
  for key in 'HKEY_LOCAL_MACHINE\Software' 'HKEY_CURRENT_USER\Software' 'HKEY_CURRENT_USER\Environment'; do
    "$WINE" regedit /E "$work/export.reg" "$key"
    iconv -f UTF-16 -t UTF-8 "$work/export.reg" | tr -d '\r' |
      awk '/^\[/ { skip = index($0, "[HKEY_CURRENT_USER\\Software\\Wine") == 1 } !skip' >>"$out"
  done
}

# Every file and folder of the prefix outside Windows' own folders.
files_snapshot() {
  (cd "$drive_c" && find . -path ./windows -prune -o -path './users/*/Temp' -prune -o -print | sort) >"$1"
}

step "a fresh Wine prefix"
"$WINE" wineboot -i >/dev/null 2>&1
"$WINESERVER" -w
long_path="C:\\Tools\\bin"
while [ ${#long_path} -lt 1359 ]; do
  long_path+=";C:\\Program Files\\Some Program $((${#long_path} % 97))\\bin"
done
long_path=${long_path:0:1359}
"$WINE" reg add 'HKCU\Environment' /v PATH /t REG_EXPAND_SZ /d "$long_path" /f >/dev/null
"$WINESERVER" -w
registry_snapshot "$work/registry-before"
files_snapshot "$work/files-before"

step "silent installation"
run_windows "$setup" /S
expected="CHAP1891.TXT LICENSE.txt README.txt Uninstall.exe check-piece.cmd quillet.exe relcodes.txt tabbatch.exe tabreport.exe tabulon.exe"
shortcuts="Merrowby command prompt.lnk|Read me.lnk|Uninstall.lnk"
if [ -e "$install_dir/merrowby.html" ]; then
  expected+=" merrowby.html"
  shortcuts="Merrowby command prompt.lnk|Merrowby in the browser.lnk|Read me.lnk|Uninstall.lnk"
fi
installed=$(cd "$install_dir" && ls | LC_ALL=C sort | tr '\n' ' ')
[ "$installed" = "$(tr ' ' '\n' <<<"$expected" | LC_ALL=C sort | tr '\n' ' ')" ] ||
  fail "installed files: $installed"
[ "$(cd "$start_menu" && ls | LC_ALL=C sort | paste -sd '|')" = "$shortcuts" ] ||
  fail "Start menu: $(ls "$start_menu")"
strings -el "$start_menu/Merrowby command prompt.lnk" | grep -qF '/k "set "PATH=C:\Program Files\Merrowby;%PATH%""' ||
  fail "the command prompt shortcut does not put the programs on its PATH"
"$WINE" reg query "$verb_key\\command" /ve | grep -qF '/c ""C:\Program Files\Merrowby\check-piece.cmd" "%1""' ||
  fail "no right-click entry on .csv files"
version=$(basename "$setup" | sed -n 's/^merrowby-\(.*\)-windows-x64-setup\.exe$/\1/p')
"$WINE" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Merrowby' /v DisplayVersion |
  grep -q "REG_SZ *$version" || fail "the uninstaller is not registered with version $version"
for program in tabulon quillet tabreport tabbatch; do
  strings -el "$install_dir/$program.exe" | grep -qx "$version" || fail "$program.exe does not carry version $version"
done
registry_snapshot "$work/registry-installed"
files_snapshot "$work/files-installed"

step "a piece converted by the installed tabulon from another folder"
mkdir "$work/native" "$work/elsewhere"
cp "$examples/RG120456.CSV" "$work/native/"
cp "$examples/RG120456.CSV" "$work/elsewhere/"
native_status=0
(cd "$work/native" && "$native_tabulon" -c RG120456.CSV >/dev/null 2>&1) || native_status=$?
windows_status=0
(cd "$work/elsewhere" && "$WINE" 'C:\Program Files\Merrowby\tabulon.exe' -c RG120456.CSV >/dev/null 2>&1) ||
  windows_status=$?
[ "$native_status" = "$windows_status" ] || fail "status $windows_status, natively $native_status"
listing_without_date() {
  tr -d '\r' <"$1" | sed '1s/^\(Error listing for tabulon (Merrowby) v[^ ]* \).* converting /\1<DATE> converting /'
}
diff <(listing_without_date "$work/native/RG120456.erc") <(listing_without_date "$work/elsewhere/RG120456.erc") ||
  fail "the listings differ"
cmp "$work/native/rg120456.val" "$work/elsewhere/rg120456.val" || fail "the records differ"

step "the right-click command on a piece in a folder with blanks"
pieces="$work/Census pieces 1871"
mkdir "$pieces"
cp "$examples/RG100789.CSV" "$pieces/"
command=$("$WINE" reg query "$verb_key\\command" /ve | tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p')
[ -n "$command" ] || fail "no command under $verb_key"
piece_path="Z:${pieces//\//\\}\\RG100789.CSV"
# The shell puts the piece's path in place of %1; cmd then runs the line.
printf '@%s\r\n' "${command//%1/$piece_path}" >"$work/rightclick.cmd"
MERROWBY_UNATTENDED=1 "$WINE" cmd /c "Z:${work//\//\\}\\rightclick.cmd" >"$work/rightclick.out" 2>&1 || true
[ -s "$pieces/RG100789.html" ] || fail "no findings page: $(cat "$work/rightclick.out")"
grep -q "input format = ALL" "$pieces/RG100789.erc" || fail "the layout was not found from the title row"
grep -q "Report file is" "$work/rightclick.out" || fail "no summary: $(cat "$work/rightclick.out")"

step "upgrade over the installation"
run_windows "$setup" /S
files_snapshot "$work/files-upgraded"
diff "$work/files-installed" "$work/files-upgraded" || fail "the upgrade left other files"
registry_snapshot "$work/registry-upgraded"
diff "$work/registry-installed" "$work/registry-upgraded" || fail "the upgrade left other registry entries"

step "silent uninstallation"
run_windows 'C:\Program Files\Merrowby\Uninstall.exe' /S
files_snapshot "$work/files-after"
diff "$work/files-before" "$work/files-after" || fail "files left after uninstalling"
registry_snapshot "$work/registry-after"
diff "$work/registry-before" "$work/registry-after" || fail "registry entries left after uninstalling"
step "passed"
