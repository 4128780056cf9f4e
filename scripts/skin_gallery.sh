#!/usr/bin/env bash
# Renders the skin gallery (one page per built-in style) under Xvfb and Wine
# and writes one PNG per style into the folder given as first argument.
#   scripts/skin_gallery.sh build/skin-shots [build/skin-win]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")

if [ "${1:-}" = "--inside-display" ]; then
  exe=$2 out=$3
  source "$here/wine-env.sh"
  vh_wine_prefix_ready
  wine "$exe" "$(winepath -w "$out")"
  for bmp in "$out"/skin-*.bmp; do
    convert "$bmp" "${bmp%.bmp}.png"
    rm -f "$bmp"
  done
  exit 0
fi

out=${1:?usage: scripts/skin_gallery.sh OUTPUT_FOLDER [BUILD_FOLDER]}
build=${2:-$root/build/skin-win}
exe=$build/skin_gallery_win_tool.exe
[ -f "$exe" ] || { echo "no $exe: build the Windows tree first" >&2; exit 1; }
mkdir -p "$out"
out=$(cd "$out" && pwd)
# A prefix of the gallery's own, so that no one else's Wine session is touched.
: "${VH_WINEPREFIX:=${TMPDIR:-/tmp}/varnhold-skin-gallery-$(id -u)}"
export VH_WINEPREFIX
xvfb-run -a -s "-screen 0 1280x1024x24" "$here/skin_gallery.sh" --inside-display "$exe" "$out"
ls -1 "$out"/skin-*.png
