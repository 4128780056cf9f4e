#!/usr/bin/env bash
# Runs the two galleries under Xvfb and Wine and writes PNG pictures into the
# folder given as first argument: the component layer's controls and the
# main-window mock (gallery-*.png), and one page per skin style (skin-*.png).
#   scripts/gallery.sh build/shots [build/win]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")

if [ "${1:-}" = "--inside-display" ]; then
  build=$2 out=$3
  source "$here/wine-env.sh"
  vh_wine_prefix_ready
  for page in controls main; do
    wine "$build/gallery_win_tool.exe" "$page shot" &
    pid=$!
    sleep 6
    xwd -root -silent | convert xwd:- "$out/gallery-$page.png"
    wait "$pid" || true
  done
  wine "$build/skin_gallery_win_tool.exe" "$(winepath -w "$out")"
  for bmp in "$out"/skin-*.bmp; do
    convert "$bmp" "${bmp%.bmp}.png"
    rm -f "$bmp"
  done
  exit 0
fi

out=${1:?usage: scripts/gallery.sh OUTPUT_FOLDER [BUILD_FOLDER]}
build=$(cd "${2:-$root/build/win}" && pwd)
for tool in gallery_win_tool skin_gallery_win_tool; do
  [ -f "$build/$tool.exe" ] || { echo "no $build/$tool.exe: build the Windows tree first" >&2; exit 1; }
done
mkdir -p "$out"
out=$(cd "$out" && pwd)
# A prefix of the galleries' own, so that no one else's Wine session is touched.
: "${VH_WINEPREFIX:=${TMPDIR:-/tmp}/varnhold-gallery-$(id -u)}"
export VH_WINEPREFIX
xvfb-run -a -s "-screen 0 1280x1024x24" "$here/gallery.sh" --inside-display "$build" "$out"
ls -1 "$out"/*.png
