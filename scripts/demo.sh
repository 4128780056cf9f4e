#!/usr/bin/env bash
# Installs what is missing, builds varnhold.exe and runs it under Wine on a
# demo registry: a scratch prefix whose hivelist names hives that exist in
# Wine's registry, each backed by a stand-in file (a copy of Wine's own
# registry text file) where Windows would keep the hive file. With a display
# the window opens; without one the unattended scan runs and its report is
# printed.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh win

export VH_WINEPREFIX="$root/build/demo/wineprefix"
source scripts/wine-env.sh
vh_wine_prefix_ready
app="$root/build/demo/Varnhold"
mkdir -p "$app"
cp build/win/varnhold.exe "$app/"
cp -f lang/DLan_*.ini "$app/" 2>/dev/null || true

config="$WINEPREFIX/drive_c/windows/system32/config"
mkdir -p "$config"
cp "$WINEPREFIX/system.reg" "$config/SYSTEM"
cp "$WINEPREFIX/system.reg" "$config/SOFTWARE"
cp "$WINEPREFIX/userdef.reg" "$config/DEFAULT"
profile="$WINEPREFIX/drive_c/users/Public"
cp "$WINEPREFIX/user.reg" "$profile/NTUSER.DAT"
hivelist='HKLM\SYSTEM\CurrentControlSet\Control\hivelist'
add() { wine reg add "$hivelist" /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1; }
add '\REGISTRY\MACHINE\SYSTEM' '\Device\HarddiskVolume1\windows\system32\config\SYSTEM'
add '\REGISTRY\MACHINE\SOFTWARE' '\Device\HarddiskVolume1\windows\system32\config\SOFTWARE'
add '\REGISTRY\USER\.DEFAULT' '\Device\HarddiskVolume1\windows\system32\config\DEFAULT'
add '\REGISTRY\USER\S-1-5-21-0-0-0-1000' '\Device\HarddiskVolume1\users\Public\NTUSER.DAT'
wineserver -w

exe="$app/varnhold.exe"
if [ -n "${DISPLAY:-}" ]; then
  echo "Starting Varnhold in a window (close it to end the demo)."
  wine "$exe"
else
  report='C:\users\Public\Varnhold scan.ini'
  echo "No display: running the unattended scan."
  wine "$exe" /Scan "$report" || true
  wineserver -w
  cat "$WINEPREFIX/drive_c/users/Public/Varnhold scan.ini" 2>/dev/null || true
fi
