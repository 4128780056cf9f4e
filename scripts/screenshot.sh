#!/usr/bin/env bash
# Shows Varnhold's windows under Wine on a virtual display and saves PNG
# screenshots of them into a folder.
# usage: screenshot.sh <exe> <out folder> [scenario]
#   scenario: main (default): the main window after start-up.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exe=$1 out=$2 scenario=${3:-main}
mkdir -p "$out"
source "$root/scripts/wine-env.sh"
vh_wine_prefix_ready
shot() { xwd -root -silent | convert xwd:- -crop 800x600+0+0 +repage "$out/$1.png"; }
wine "$exe" &
sleep 6
case "$scenario" in
  main) shot main ;;
esac
wineserver -k 2>/dev/null || true
