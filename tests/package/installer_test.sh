#!/usr/bin/env bash
# Builds the installer, installs it silently into a scratch Wine prefix,
# starts the installed program, uninstalls, and checks that nothing is left
# but the journal.
# usage: installer_test.sh <win build dir>
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "$1" && pwd)
name=installer-test
source "$root/tests/package/packed_in_scratch.sh"

wine "$work/out/Varnhold-1.5-setup.exe" /S
wineserver -w
dir="$WINEPREFIX/drive_c/Program Files (x86)/Varnhold"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Varnhold"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnhold'
source_key='HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\Varnhold'
[ -f "$dir/varnhold.exe" ] || fail "varnhold.exe not installed"
ls "$dir"/DLan_*.ini >/dev/null || fail "language files not installed"
[ -f "$menu/Varnhold.lnk" ] || fail "no Start-menu entry"
wine reg query "$key" /reg:32 >/dev/null 2>&1 || fail "no uninstall entry"
wine reg query "$source_key" /v EventMessageFile >/dev/null 2>&1 || fail "no event source"

# The installed program runs: an unattended scan without a report path
# analyses and ends by itself.
wine "$dir/varnhold.exe" /Scan || fail "the installed program did not end cleanly"
wineserver -w

printf '[Defragmentation]\r\n' >"$dir/varnhold-journal.txt"
wine "$dir/uninstall.exe" /S
wineserver -w
[ "$(ls -A "$dir")" = "varnhold-journal.txt" ] || fail "left behind besides the journal: $(ls -A "$dir")"
[ ! -e "$menu" ] || fail "Start-menu folder left behind"
if wine reg query "$key" /reg:32 >/dev/null 2>&1; then fail "uninstall entry left behind"; fi
if wine reg query "$source_key" >/dev/null 2>&1; then fail "event source left behind"; fi
echo "$name: installed, ran, uninstalled, nothing left but the journal"
