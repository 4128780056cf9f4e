#!/usr/bin/env bash
# Shows each of Varnhold's windows on the demo registry under Wine with a
# virtual display and saves a PNG of it into a folder (docs/screenshots for
# the user's guide). The windows come from the program's own code through a
# small tool (tools/screens_win_tool.cpp) that shows one at a time.
# usage: screenshots.sh [out folder]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out="${1:-$root/docs/screenshots}"
mkdir -p "$out"
out=$(cd "$out" && pwd)
if [ -z "${VH_IN_XVFB:-}" ]; then
  bash "$root/scripts/demo-registry.sh"
  exec env VH_IN_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$out"
fi
export VH_WINEPREFIX="$root/build/demo/wineprefix" VH_WINEARCH=win32
source "$root/scripts/wine-env.sh"
app="$root/build/demo/Varnhold"
cp "$root/build/win/screens_win_tool.exe" "$app/"
# Wine draws the title bars itself: there is no window manager here.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1

# shot <name> <window> [analyze|reorganized|french|focus|pending] : the picture, cut to the window.
shot() {
  local name=$1
  shift
  rm -f "$app/options.ini"
  wine "$app/screens_win_tool.exe" "$@" >/dev/null 2>&1 &
  # A window that closes by itself (the scan's) is caught while it is up.
  local waited=0 limit=${VH_SHOT_WAIT:-7}
  while :; do
    sleep 0.5
    waited=$((waited + 1))
    xwd -root -silent | convert xwd:- -trim +repage "$out/$name.png"
    [ "$waited" -lt $((limit * 2)) ] || break
    if [ "${name}" = progress-dialog ] && [ "$(identify -format %w "$out/$name.png")" -gt 1 ]; then
      sleep 1  # painted by now
      xwd -root -silent | convert xwd:- -trim +repage "$out/$name.png"
      break
    fi
  done
  wineserver -k 2>/dev/null || true
  sleep 1
}
shot main-window main
shot main-window-figures main analyze
shot main-window-reorganized main reorganized
shot main-window-french main french
shot main-window-focus main focus
shot main-window-restart-pending main pending
shot progress-dialog progress
shot defrag-confirmation confirm
shot options-dialog options
shot restore-point-dialog restore
shot about-box about
shot help-menu help-menu
shot language-menu language-menu
ls "$out"
