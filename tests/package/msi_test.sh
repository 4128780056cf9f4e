#!/usr/bin/env bash
# Installs the MSI package with Wine's own msiexec into a scratch prefix, as
# Group Policy and the management tools run it: silently, for the machine.
# Checks that the signed package installs the signed program under the hash
# it records. Runs the installed program's /Scan, upgrades from an older
# package, checks that the NSIS installer refuses to install beside it,
# refuses to uninstall while the program runs, and uninstalls, leaving
# nothing but the journal.
# usage: msi_test.sh <win build dir>
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "$1" && pwd)
name=msi-test
source "$root/tests/package/packed_in_scratch.sh"
new="$work/out/Varnhold-1.5.msi"
old="$work/out/Varnhold-1.4.msi"
stage="$work/out/Varnhold-1.5"
# The same files under an older version: what an administrator replaces.
cp "$build/art/varnhold.ico" "$build/varnhold_msi.dll" "$stage/"
bash "$root/scripts/make-msi.sh" "$stage" 1.4.0 "$old" 2>/dev/null

dir="$WINEPREFIX/drive_c/Program Files (x86)/Varnhold"
# Wine's msi takes ProgramMenuFolder from the user's profile whatever
# ALLUSERS says (Windows uses the all-users menu): either place counts.
menus=("$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Varnhold"
       "$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Varnhold")
source_key='HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\Varnhold'
# The Add/Remove Programs entries named Varnhold, "<version>|<publisher>" each.
entries() {
  wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s /reg:32 2>/dev/null | tr -d '\r' |
    awk '/^HKEY/ { if (name == "Varnhold") print version "|" publisher; name = version = publisher = "" }
         $1 == "DisplayName" { name = $3 } $1 == "DisplayVersion" { version = $3 }
         $1 == "Publisher" { publisher = substr($0, index($0, $3)) }
         END { if (name == "Varnhold") print version "|" publisher }'
}
msiexec() {
  local rc=0
  wine msiexec "$@" || rc=$?
  wineserver -w
  [ "$rc" = 0 ] || fail "msiexec $* ended with $rc"
}

msiexec /i "$old" /qn
[ "$(entries)" = "1.4.0|Tolvane Software" ] || fail "after installing 1.4.0: $(entries)"
msiexec /i "$new" /qn
[ "$(entries)" = "1.5.0|Tolvane Software" ] || fail "after the upgrade, not one 1.5.0 entry: $(entries)"

[ -f "$dir/varnhold.exe" ] || fail "varnhold.exe not installed"
osslsigncode verify -CAfile "$work/cert/release.pem" -in "$dir/varnhold.exe" >/dev/null ||
  fail "the installed program is not the signed one"
# Windows Installer compares the file on disk with this hash (MD5, in four
# little-endian parts) to decide whether to replace it: it must be the
# signed file's.
hash=""
for part in $(msiinfo export "$new" MsiFileHash | tr -d '\r' | awk '$1 == "varnhold.exe" { print $3, $4, $5, $6 }'); do
  p=$(printf %08x $((part & 0xffffffff)))
  hash+=${p:6:2}${p:4:2}${p:2:2}${p:0:2}
done
[ "$hash" = "$(md5sum <"$dir/varnhold.exe" | cut -c1-32)" ] || fail "the package's hash of varnhold.exe, '$hash', is not the installed file's"
[ "$(ls "$dir"/DLan_*.ini | wc -l)" = "$(ls "$root"/lang/DLan_*.ini | wc -l)" ] || fail "language files missing"
[ -f "${menus[0]}/Varnhold.lnk" ] || [ -f "${menus[1]}/Varnhold.lnk" ] || fail "no Start-menu entry"
wine reg query 'HKLM\Software\Classes\Installer\Products' /s /reg:32 2>/dev/null | grep -q 'ProductIcon.*varnhold\.ico' ||
  fail "no product icon"
registered=$(wine reg query "$source_key" 2>/dev/null | tr -d '\r')
grep -q 'EventMessageFile *REG_EXPAND_SZ *C:\\Program Files (x86)\\Varnhold\\varnhold.exe$' <<<"$registered" ||
  fail "event source not registered: $registered"
grep -q 'TypesSupported *REG_DWORD *0x7$' <<<"$registered" || fail "event types not registered: $registered"

# The installed program runs and ends by itself; its report names the
# machine and gives the totals of the hive it copied.
set +e
timeout 180 wine "$dir/varnhold.exe" /Scan 'C:\msi-scan.ini'
code=$?
set -e
wineserver -w
[ "$code" = 0 ] || fail "the installed program's /Scan ended with $code"
report=$(tr -d '\r' <"$WINEPREFIX/drive_c/msi-scan.ini")
grep -q '^\[Scan Hives\]$' <<<"$report" && grep -qE '^Windows=[0-9]+\.[0-9]+\.[0-9]+$' <<<"$report" ||
  fail "no [Scan Hives] section: $report"
grep -qE '^Current Size=[0-9,]+ KB$' <<<"$report" ||
  fail "no totals of the listed hive: $report"

# The NSIS installer refuses to install beside it (exit code 3) and adds
# nothing.
set +e
wine "$work/out/Varnhold-1.5-setup.exe" /S
code=$?
set -e
wineserver -w
[ "$code" = 3 ] || fail "the NSIS installer, beside the MSI installation, ended with $code"
[ ! -e "$dir/uninstall.exe" ] || fail "the refused NSIS installer wrote its uninstaller"
if wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnhold' /reg:32 >/dev/null 2>&1; then
  fail "the refused NSIS installer added its uninstall entry"
fi
[ "$(entries)" = "1.5.0|Tolvane Software" ] || fail "after the refused NSIS installer: $(entries)"

# While the program runs its removal refuses (1603, as a failed installation
# ends), removes nothing and keeps the entry, as the setup program's
# uninstaller does; otherwise varnhold.exe would be left behind, and would
# write its settings into the orphaned folder as it closes.
program_window "$dir/varnhold.exe"
set +e
timeout 120 wine msiexec /x "$new" /qn /l*v 'C:\msi-remove.log'
code=$?
set -e
# A Unix process keeps the low byte of 1603.
[ "$code" = $((1603 & 255)) ] || fail "msiexec /x, while the program runs, ended with $code"
iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/drive_c/msi-remove.log" 2>/dev/null | grep -q 'Varnhold is running' ||
  grep -aq 'Varnhold is running' "$WINEPREFIX/drive_c/msi-remove.log" || fail "the removal's log does not say why"
[ -f "$dir/varnhold.exe" ] && ls "$dir"/DLan_*.ini >/dev/null || fail "the refused removal removed files"
[ "$(entries)" = "1.5.0|Tolvane Software" ] || fail "the refused removal took the entry: $(entries)"
close_program

printf '[Defragmentation]\r\n' >"$dir/varnhold-journal.txt"
msiexec /x "$new" /qn
left=$(ls -A "$dir")
[ "$left" = "varnhold-journal.txt" ] || fail "left behind besides the journal: $left"
for menu in "${menus[@]}"; do [ ! -e "$menu" ] || fail "Start-menu folder left behind: $menu"; done
[ -z "$(entries)" ] || fail "uninstall entry left behind: $(entries)"
if wine reg query "$source_key" >/dev/null 2>&1; then fail "event source left behind"; fi
echo "$name: 1.4.0 installed, upgraded to 1.5.0 (one entry), ran, the NSIS installer refused beside it, removal refused while the program ran, uninstalled, only the journal left"
