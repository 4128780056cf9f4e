#!/usr/bin/env bash
# Makes the demo registry: a scratch Wine prefix whose hivelist names hives
# that exist in Wine's registry, each with a stand-in hive file (a copy of
# Wine's own registry text file), and the program beside it in
# build/demo/Varnhold. Builds the Windows program first.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/build.sh win
export VH_WINEPREFIX="$root/build/demo/wineprefix"
source scripts/wine-env.sh
vh_wine_prefix_ready
app="$root/build/demo/Varnhold"
mkdir -p "$app"
cp build/win/varnhold.exe "$app/"
cp lang/DLan_*.ini "$app/"

config="$WINEPREFIX/drive_c/windows/system32/config"
mkdir -p "$config"
cp "$WINEPREFIX/system.reg" "$config/SYSTEM"
cp "$WINEPREFIX/system.reg" "$config/SOFTWARE"
cp "$WINEPREFIX/userdef.reg" "$config/DEFAULT"
cp "$WINEPREFIX/user.reg" "$WINEPREFIX/drive_c/users/Public/NTUSER.DAT"
hivelist='HKLM\SYSTEM\CurrentControlSet\Control\hivelist'
add() { wine reg add "$hivelist" /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1; }
add '\REGISTRY\MACHINE\SYSTEM' '\Device\HarddiskVolume1\windows\system32\config\SYSTEM'
add '\REGISTRY\MACHINE\SOFTWARE' '\Device\HarddiskVolume1\windows\system32\config\SOFTWARE'
add '\REGISTRY\USER\.DEFAULT' '\Device\HarddiskVolume1\windows\system32\config\DEFAULT'
add '\REGISTRY\USER\S-1-5-21-0-0-0-1000' '\Device\HarddiskVolume1\users\Public\NTUSER.DAT'
# One larger hive, so that an analysis takes a moment to watch: a key with
# 12 MB of values and a 16 MB stand-in file that is mostly free space.
if [ ! -f "$WINEPREFIX/.varnhold-demo-key64" ]; then
  /usr/bin/python3 - "$WINEPREFIX/drive_c/demo-key.reg" <<'PY'
import sys
with open(sys.argv[1], "w", encoding="utf-16") as out:
    out.write("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\VarnholdDemo]\r\n")
    blob = ",".join(["41"] * 8000)
    for i in range(1500):
        out.write(f'"Value{i}"=hex:{blob}\r\n')
PY
  # Into the 64-bit view, where the 64-bit hive's key lives and where the
  # program copies it from; regedit would put it in the 32-bit branch.
  wine reg import 'C:\demo-key.reg' /reg:64 >/dev/null 2>&1
  rm -f "$WINEPREFIX/drive_c/demo-key.reg"
  touch "$WINEPREFIX/.varnhold-demo-key64"
fi
truncate -s 16M "$WINEPREFIX/drive_c/users/Public/DEMO.DAT"
add '\REGISTRY\MACHINE\SOFTWARE\VarnholdDemo' '\Device\HarddiskVolume1\users\Public\DEMO.DAT'
# Wine has no "MS Sans Serif", the windows' font; a face of the same width
# keeps the captions within their design widths.
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
  /v 'MS Sans Serif' /t REG_SZ /d 'Liberation Sans' /f >/dev/null 2>&1
wineserver -w
