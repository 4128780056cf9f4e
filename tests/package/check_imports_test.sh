#!/usr/bin/env bash
# The import check itself: it passes a small program whose imports are all
# listed, and fails when an import is missing from the list, when the list
# gives a version after XP SP3, when a known post-XP function is imported
# even though someone listed it, when the PE header asks for Vista, and when
# the list names a function the program does not import.
# usage: check_imports_test.sh <scratch dir>
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work="$1/check-imports-test"
rm -rf "$work"
mkdir -p "$work"
cd "$work"
cc=i686-w64-mingw32-gcc-win32
check="$root/scripts/check-imports.sh"
status=0
fail() { echo "check-imports test: $*"; status=1; }

# Passes: the exact output of the check is shown for each case.
expect() {
  local want=$1 pattern=$2; shift 2
  local out rc=0
  out=$(bash "$check" "$@" 2>&1) || rc=$?
  echo "--- $* (exit $rc)"; echo "$out"
  if [ "$want" = pass ] && [ $rc -ne 0 ]; then fail "expected a pass: $*"; fi
  if [ "$want" = fail ] && [ $rc -eq 0 ]; then fail "expected a failure: $*"; fi
  if ! grep -q -- "$pattern" <<<"$out"; then fail "no '$pattern' in the output for $*"; fi
}

cat >old.c <<'C'
#include <windows.h>
int main(void) { return (int)GetTickCount() + (int)GetVersion(); }
C
cat >new.c <<'C'
#define _WIN32_WINNT 0x0600
#include <windows.h>
int main(void) { return (int)GetTickCount64(); }
C
xp_flags=(-Wl,--major-subsystem-version,5 -Wl,--minor-subsystem-version,1 -Wl,--major-os-version,5 -Wl,--minor-os-version,1)
$cc -O1 -s "${xp_flags[@]}" old.c -o old.exe
$cc -O1 -s "${xp_flags[@]}" new.c -o new.exe
$cc -O1 -s -Wl,--major-subsystem-version,6 -Wl,--minor-subsystem-version,0 old.c -o vista.exe

# The list for old.exe: every import it has, as the check names them.
i686-w64-mingw32-objdump -p old.exe | awk '/^\tDLL Name: /{d=toupper($3);next} /^$/{d=""} d && /^\t[0-9a-f]+\t/{n=split($0,f,/[ \t]+/); print d "!" f[4] "  2000"}' >all.txt
grep -q 'KERNEL32.DLL!GetTickCount  2000' all.txt || fail "the test program does not import GetTickCount"

expect pass "all listed" old.exe all.txt
grep -v 'GetTickCount ' all.txt >missing.txt
expect fail "import KERNEL32.DLL!GetTickCount: not in missing.txt" old.exe missing.txt
sed 's/^KERNEL32.DLL!GetTickCount  2000$/KERNEL32.DLL!GetTickCount  Vista/' all.txt >vista-entry.txt
expect fail "KERNEL32.DLL!GetTickCount needs Windows Vista" old.exe vista-entry.txt
{ cat all.txt; echo "KERNEL32.DLL!GetTickCount64  2000"; } >denied.txt
expect fail "import KERNEL32.DLL!GetTickCount64: not on Windows XP SP3" new.exe denied.txt
expect fail "may not be listed" new.exe denied.txt
expect fail "subsystem version 6.0 is above 5.1" vista.exe all.txt
{ cat all.txt; echo "OLE32.DLL!CoInitializeEx  2000"; } >stale.txt
expect fail "OLE32.DLL!CoInitializeEx is not imported by old.exe" old.exe stale.txt
exit $status
