#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the native
# suite, the same under ASan and UBSan, the bounded fuzz runs, and the
# Windows suite under Wine in a scratch prefix with a virtual display.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh || exit 1

passed=0 failed=0 status=0
# Runs ctest in a build folder and adds its counts to the totals.
run_ctest() {
  local label=$1 dir=$2; shift 2
  local out="$dir/ctest.log"
  "$@" ctest --test-dir "$dir" --output-on-failure --timeout 900 >"$out" 2>&1
  local rc=$?
  echo "== $label"
  grep -E '^[0-9]+% tests passed|^Total Test time' "$out"
  local summary total fail
  summary=$(grep -E '^[0-9]+% tests passed' "$out" | tail -1)
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
  fail=$(sed -E 's/.*, ([0-9]+) tests failed.*/\1/' <<<"$summary")
  if [ -z "$summary" ]; then total=0; fail=1; fi
  passed=$((passed + total - fail)); failed=$((failed + fail))
  if [ $rc -ne 0 ]; then
    status=1
    grep -E 'Failure|FAILED|Which is|Expected|error' "$out" | head -60
  fi
}

bash scripts/build.sh native || exit 1
run_ctest native build/native env
bash scripts/build.sh asan || exit 1
run_ctest "native asan+ubsan" build/asan env ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
if ls tests/fuzz/*_fuzz.cpp >/dev/null 2>&1; then
  bash scripts/build.sh fuzz || exit 1
  bash scripts/fuzz.sh build/fuzz 30 || { status=1; failed=$((failed + 1)); }
fi

bash scripts/build.sh win || exit 1
# A fresh Wine prefix for this run, never the user's own.
export VH_WINEPREFIX="$root/build/win/wineprefix"
rm -rf "$VH_WINEPREFIX" "$VH_WINEPREFIX.lock"
source scripts/wine-env.sh
vh_wine_prefix_ready
run_ctest "windows (wine)" build/win xvfb-run -a -s "-screen 0 1280x1024x24" env
wineserver -k >/dev/null 2>&1 || true

echo "tests: $passed passed, $failed failed"
exit $status
