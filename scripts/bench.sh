#!/usr/bin/env bash
# Measures Varnhold under Wine, each figure against its yardstick in the same
# run, and prints a table of ratios and targets: the median of the
# round-by-round ratios, with their lowest and highest. Nothing is asserted:
# times depend on the machine; the ratios are what to watch.
#   start-up to the main window shown / a minimal window program    <= 1.3x
#   the whole analysis / a bare RegSaveKeyA loop over the same keys  <= 1.03x (large)
#   the analysis's own cost: its time less the bare loop's           <= 40 ms
#   the defragmentation's copy-and-check step / the same bare loop   <= 1.25x
#   the copy check / loading the copies back alone                   <= 2.5x
#   working set, window up, above the minimal window program's       <= 3 MB
#   peak working set of the analysis, above the minimal program's    <= 5 MB
#   varnhold.exe's size (static, stripped, unsigned)                <= 1.4 MB
#     (the build's own image: a release signs a copy of it, and the
#     signature, a few KB, comes on top)
# usage: bench.sh [--large] [--before DIR] [analysis rounds [start-up rounds]]
#   --large: on the benchmark registry of a used system's size (made once
#   and kept in build/bench-large; see demo-registry.sh), 3 analysis rounds
#   unless told.
#   --before DIR: DIR holds an earlier build's varnhold.exe and
#   bench_win_tool.exe; both builds are measured in the same run, the
#   earlier one first, and a table printed for each.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
large=()
place=demo
if [ "${1:-}" = --large ]; then
  large=(--large)
  place=bench-large
  shift
fi
before=()
if [ "${1:-}" = --before ]; then
  before=(--before "$(cd "$2" && pwd)")
  shift 2
fi
analysis_rounds=${1:-$([ "$place" = demo ] && echo 7 || echo 3)}
startup_rounds=${2:-15}

if [ -z "${VH_BENCH_UNDER_X:-}" ]; then
  # Builds the program and the tools, and makes the registry.
  bash "$root/scripts/demo-registry.sh" "${large[@]}"
  export VH_BENCH_UNDER_X=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "${BASH_SOURCE[0]}" "${large[@]}" "${before[@]}" \
    "$analysis_rounds" "$startup_rounds"
fi

export VH_WINEPREFIX="$root/build/$place/wineprefix" VH_WINEARCH=win32
source "$root/scripts/wine-env.sh"
win="$root/build/win"
app="$root/build/$place/Varnhold/varnhold.exe"
results=$(mktemp)

# Without a window manager (Xvfb) Wine waits two seconds for one to confirm
# each hidden window's withdrawal: every dialog closed would cost 2 s that no
# user with a desktop pays. The benchmarked programs' windows are left
# unmanaged for the run.
programs=(varnhold.exe bench_win_tool.exe minimal_window_win_tool.exe)
appdefaults='HKCU\Software\Wine\AppDefaults'
unmanage() { wine reg add "$appdefaults\\$1\\X11 Driver" /v Managed /t REG_SZ /d N /f >/dev/null 2>&1; }
restore() { wine reg delete "$appdefaults\\$1\\X11 Driver" /v Managed /f >/dev/null 2>&1 || true; }
cleanup() {
  for p in "${programs[@]}"; do restore "$p"; done
  wineserver -w
  rm -f "$results"
}
trap cleanup EXIT
for p in "${programs[@]}"; do unmanage "$p"; done
wineserver -w  # the registry is written before the programs start

# measure <bench tool> <varnhold.exe> <label>: one build's figures into $results.
measure() {
  local tool=$1 exe=$2
  : >"$results"
  echo "bench ($3): $analysis_rounds analyses and $startup_rounds start-ups of each, alternated..." >&2
  (cd "$win" && wine "$tool" analysis "$analysis_rounds") >>"$results"
  (cd "$win" && wine ./bench_win_tool.exe startup "$startup_rounds" "$(winepath -w "$exe")" \
    "Varnhold Made by Tolvane Software" "$(winepath -w "$win/minimal_window_win_tool.exe")" \
    "Varnhold Minimal Window") >>"$results"
  echo "exe_bytes $(stat -c %s "$exe")" >>"$results"
  if file "$exe" | grep -q stripped; then echo "exe_stripped 1" >>"$results"; fi
  "$root/scripts/check-exe.sh" "$exe" >/dev/null && echo "exe_static 1" >>"$results"
  # A whole Wine process for scale: what every start pays before the program.
  if command -v hyperfine >/dev/null; then
    json=$(mktemp)
    hyperfine -N --warmup 2 --runs 10 --export-json "$json" \
      "wine $win/minimal_window_win_tool.exe /exit-on-paint" >/dev/null 2>&1 &&
      echo "wine_process_ms $(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["results"][0]["median"]*1000)' "$json")" >>"$results"
    rm -f "$json"
  fi
}

table() {
awk -v place="$place" -v build="$1" '
  { v[$1] = $2 }
  function mb(kb) { return kb * 1024 / 1000000 }
  function ratio(name, key, target, limit) {
    printf "%-44s %7.3fx %6.3f-%-6.3f  %-9s %s\n", name, v[key "_ratio"], v[key "_ratio_min"],
      v[key "_ratio_max"], target, v[key "_ratio"] <= limit ? "yes" : "NO"
  }
  function row(name, value, target, met) {
    printf "%-44s %22s  %-9s %s\n", name, value, target, met ? "yes" : "NO"
  }
  END {
    printf "registry: %s; build: %s\n", place, build
    printf "%-44s %8s %13s  %-9s %s\n", "figure", "median", "spread", "target", "met"
    ratio("start-up / minimal window program", "startup", "<= 1.3x", 1.3)
    ratio("whole analysis / bare RegSaveKeyA loop", "analysis", "<= 1.03x", 1.03)
    d = v["analysis_ms"] - v["bare_save_ms"]
    row("analysis, its own cost (less the bare loop)", sprintf("%+.0f ms", d), "<= 40 ms", d <= 40)
    ratio("copy-and-check step / bare RegSaveKeyA loop", "copy_and_check", "<= 1.25x", 1.25)
    ratio("  its floor: bare RegLoadKeyA loop / save loop", "bare_load", "(shown)", 99)
    c = v["bare_load_ms"] > 0 ? v["check_ms"] / v["bare_load_ms"] : 0
    row("copy check / loading the copies back alone", sprintf("%.2fx", c), "<= 2.5x", c > 0 && c <= 2.5)
    d = mb(v["startup_working_set_kb"] - v["minimal_working_set_kb"])
    row("working set, window up, above minimal", sprintf("%+.1f MB", d), "<= 3 MB", d <= 3)
    d = mb(v["analysis_peak_working_set_kb"] - v["minimal_working_set_kb"])
    row("peak working set, analysis, above minimal", sprintf("%+.1f MB", d), "<= 5 MB", d <= 5)
    m = v["exe_bytes"] / 1000000
    row("varnhold.exe, unsigned (static, stripped)", sprintf("%.3f MB", m), "<= 1.4 MB",
        m <= 1.4 && v["exe_stripped"] && v["exe_static"])
    print ""
    printf "start-up to the window shown: varnhold %.0f ms, minimal window %.0f ms (medians)\n",
      v["startup_ms"], v["minimal_startup_ms"]
    printf "analysis of %d hives: %.0f ms, bare RegSaveKeyA loop %.0f ms (medians): %.0f ms more\n",
      v["hives"], v["analysis_ms"], v["bare_save_ms"], v["analysis_ms"] - v["bare_save_ms"]
    printf "copy-and-check of %d hives: %.0f ms, of which the check %.0f ms; %d copies passed, %d refused\n",
      v["hives"], v["copy_and_check_ms"], v["check_ms"], v["checks_passed"], v["checks_failed"]
    printf "the checks of the copies that passed: %.0f ms; a refused copy costs more, as each key it lacks is saved on its own\n",
      v["passed_check_ms"]
    printf "loading the copies back alone (a bare RegLoadKeyA/RegUnLoadKeyA loop): %.0f ms\n", v["bare_load_ms"]
    printf "working set with the window up: varnhold %.1f MB, minimal window %.1f MB\n",
      mb(v["startup_working_set_kb"]), mb(v["minimal_working_set_kb"])
    printf "working set at entry, before any of the program ran: %.1f MB; before the first analysis: %.1f MB\n",
      mb(v["entry_working_set_kb"]), mb(v["working_set_before_kb"])
    printf "peak working set: first analysis %.1f MB; the whole run, copy checks included, %.1f MB\n",
      mb(v["analysis_peak_working_set_kb"]), mb(v["peak_working_set_kb"])
    printf "varnhold.exe: %d bytes\n", v["exe_bytes"]
    if ("wine_process_ms" in v)
      printf "a whole `wine minimal_window_win_tool.exe` run (hyperfine median): %.0f ms\n", v["wine_process_ms"]
  }' "$results"
}

if [ ${#before[@]} -gt 0 ]; then
  # The earlier program beside the same language files.
  earlier="$root/build/$place/Varnhold-before"
  mkdir -p "$earlier"
  cp "${before[1]}/varnhold.exe" "$earlier/"
  cp "$root"/lang/DLan_*.ini "$earlier/"
  measure "$(winepath -w "${before[1]}/bench_win_tool.exe")" "$earlier/varnhold.exe" before
  table "before (${before[1]})"
  echo
fi
measure ./bench_win_tool.exe "$app" this
table this
