#!/usr/bin/env bash
# Runs the control gallery under Xvfb and Wine and writes one PNG screenshot
# per gallery page into the folder given as first argument.
#   scripts/gallery.sh build/shots [build/ui-win]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")

if [ "${1:-}" = "--inside-display" ]; then
  exe=$2 out=$3
  source "$here/wine-env.sh"
  vh_wine_prefix_ready
  for page in controls main; do
    wine "$exe" "$page shot" &
    pid=$!
    sleep 6
    xwd -root -silent | convert xwd:- "$out/gallery-$page.png"
    wait "$pid" || true
  done
  exit 0
fi

out=${1:?usage: scripts/gallery.sh OUTPUT_FOLDER [BUILD_FOLDER]}
build=${2:-$root/build/ui-win}
exe=$build/gallery_win_tool.exe
[ -f "$exe" ] || { echo "no $exe: build the Windows tree first" >&2; exit 1; }
mkdir -p "$out"
out=$(cd "$out" && pwd)
# A prefix of the gallery's own, so that no one else's Wine session is touched.
: "${VH_WINEPREFIX:=${TMPDIR:-/tmp}/varnhold-gallery-$(id -u)}"
export VH_WINEPREFIX
xvfb-run -a -s "-screen 0 1024x768x24" "$here/gallery.sh" --inside-display "$exe" "$out"
ls -1 "$out"/gallery-*.png
