#!/usr/bin/env bash
# Runs Varnhold on the demo registry under Wine with a virtual display,
# walks through its windows with the mouse and saves a PNG of each into a
# folder (docs/ for the user's guide). The test build of the program is
# used, so the defragmentation at the end records its swaps and restart
# instead of doing them.
# usage: screenshots.sh [out folder]   (default docs/screenshots)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$(mkdir -p "${1:-$root/docs/screenshots}" && cd "${1:-$root/docs/screenshots}" && pwd)
if [ -z "${VH_IN_XVFB:-}" ]; then
  exec env VH_IN_XVFB=1 xvfb-run -a -s "-screen 0 800x600x24" "$0" "$out"
fi
bash "$root/scripts/demo-registry.sh"
export VH_WINEPREFIX="$root/build/demo/wineprefix"
source "$root/scripts/wine-env.sh"
app="$root/build/demo/Varnhold"
cp "$root/build/win/varnhold_recorded.exe" "$app/varnhold.exe"
rm -f "$app/options.ini"
export VARNHOLD_RECORD="$root/build/demo/recorded.log"

# The main window is centred on the 800 x 600 screen.
X0=$(( (800 - 556) / 2 )) Y0=$(( (600 - 392) / 2 ))
shot() { sleep "${2:-1.5}"; xwd -root -silent | convert xwd:- "$out/$1.png"; }
click() { xdotool mousemove $((X0 + $1)) $((Y0 + $2)) click 1; }
key() { xdotool key "$1"; }

wine "$app/varnhold.exe" &
sleep 6
shot main-window
click 40 105                      # Analyze Registry
shot progress-dialog 0.4
sleep 8
shot main-window-figures
click 40 134                      # Defrag Registry
shot defrag-confirmation
key Escape; sleep 1
click 30 164                      # Options
shot options-dialog
key Escape; sleep 1
click 30 264                      # Help group: Language
shot language-menu
key Escape; sleep 1
click 28 295                      # Help
shot help-menu
key Up; key Return                # About...
shot about-box
key Return; sleep 1
wineserver -k 2>/dev/null || true
ls "$out"
