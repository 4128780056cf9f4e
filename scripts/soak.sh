#!/usr/bin/env bash
# Runs the soak under Wine and Xvfb and prints its figures: GDI objects,
# windows, kernel handles and working set before and after each series.
# usage: soak.sh [analyses [dialog rounds]]   (default 50 and 100, as in ctest)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export VH_SOAK_ANALYSES=${1:-50}
export VH_SOAK_DIALOGS=${2:-100}
bash "$root/scripts/build.sh" win
cd "$root/build/win"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
rc=0
xvfb-run -a -s "-screen 0 1280x1024x24" "$root/scripts/wine-run.sh" ./soak_test.exe >"$log" 2>&1 || rc=$?
if [ "$rc" -eq 0 ]; then
  grep -E '^\[ +(SOAK|OK|PASSED) ' "$log"
else
  cat "$log"
fi
exit "$rc"
