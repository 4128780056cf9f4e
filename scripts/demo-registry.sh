#!/usr/bin/env bash
# Makes the demo registry: a scratch Wine prefix whose hivelist names five
# hives that exist in Wine's registry, each with a stand-in hive file, and
# the program beside it in build/demo/Varnhold. Builds the Windows program
# first.
#
# Wine keeps no hive files. Each stand-in is the hive's own saved copy (what
# RegSaveKey writes for it now) followed by a stated share of free space, the
# way a used hive carries space that a fresh copy leaves out. An analysis of
# the demo therefore shows that share as the hive's reduction, on every
# machine and every run, as long as nothing writes to those keys between.
#
# With --large it makes the benchmark registry of a used system's size in
# build/bench-large instead: about 305,000 keys and 1,010,000 values added
# across the five hives by tools/bench_registry_win_tool.cpp. Building it
# takes minutes; it is kept, stand-ins included, until the generator's
# arguments change.
# usage: demo-registry.sh [--large]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
large=0
[ "${1:-}" = --large ] && large=1
bash scripts/build.sh win
place=demo
[ $large = 1 ] && place=bench-large
export VH_WINEPREFIX="$root/build/$place/wineprefix" VH_WINEARCH=win32
source scripts/wine-env.sh
# A demo prefix from before it became 32-bit is made anew.
[ -d "$WINEPREFIX/drive_c/windows/syswow64" ] && rm -rf "$WINEPREFIX" "$WINEPREFIX.lock"
vh_wine_prefix_ready
app="$root/build/$place/Varnhold"
mkdir -p "$app"
cp build/win/varnhold.exe "$app/"
cp lang/DLan_*.ini "$app/"
save_key="$root/build/win/save_key_win_tool.exe"
own_key='SOFTWARE\VarnholdDemo'
[ $large = 1 ] && own_key='SOFTWARE\VarnholdBench'

# hive name | root and key saved for its stand-in | stand-in file (below drive C:) | free space, per cent
hives=(
  '\REGISTRY\MACHINE\SYSTEM|HKLM SYSTEM|windows\system32\config\SYSTEM|20'
  '\REGISTRY\MACHINE\SOFTWARE|HKLM SOFTWARE|windows\system32\config\SOFTWARE|25'
  "\\REGISTRY\\MACHINE\\$own_key|HKLM $own_key|users\\Public\\DEMO.DAT|40"
  '\REGISTRY\USER\.DEFAULT|HKU .DEFAULT|windows\system32\config\DEFAULT|10'
  '\REGISTRY\USER\S-1-5-21-0-0-0-1000|HKU S-1-5-21-0-0-0-1000|users\Public\NTUSER.DAT|30'
)

# The large registry's generator arguments: root, key below it, keys, values,
# seed. SOFTWARE\VarnholdBench is a hive of its own, inside SOFTWARE's copy
# as the demo's key is.
fills=(
  'HKLM SYSTEM\VarnholdBench 60000 200000 1'
  'HKLM SOFTWARE\VarnholdBench 60000 200000 2'
  'HKLM SOFTWARE\Classes\VarnholdBench 80000 260000 3'
  'HKU .DEFAULT\Software\VarnholdBench 30000 100000 4'
  'HKU S-1-5-21-0-0-0-1000\Software\VarnholdBench 75000 250000 5'
)
stamp="$WINEPREFIX/.varnhold-bench-large"
stamp_text=$(printf '%s\n' "${fills[@]}"; sha1sum tools/bench_registry_win_tool.cpp | cut -d' ' -f1)
if [ $large = 1 ] && [ "$(cat "$stamp" 2>/dev/null)" = "$stamp_text" ]; then
  wineserver -w
  exit 0
fi

# Every registry change comes before the hives are saved, so that the copies
# an analysis makes hold exactly what the stand-ins were made from.
hivelist='HKLM\SYSTEM\CurrentControlSet\Control\hivelist'
for hive in "${hives[@]}"; do
  IFS='|' read -r name _ file _ <<<"$hive"
  wine reg add "$hivelist" /v "$name" /t REG_SZ /d "\\Device\\HarddiskVolume1\\$file" /f >/dev/null 2>&1
done
# The user's hive is one of the system's own only for a profile the system
# lists; the demo's own hive below SOFTWARE stays another program's, and is
# shown left alone.
profile_view=()
[ "$WINEARCH" = win64 ] && profile_view=(/reg:64)
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\ProfileList\S-1-5-21-0-0-0-1000' /f \
  "${profile_view[@]}" >/dev/null 2>&1
# The large registry: made anew, each tree deleted first, whenever the
# generator's arguments or source change.
if [ $large = 1 ]; then
  rm -f "$stamp"
  generator="$root/build/win/bench_registry_win_tool.exe"
  for fill in "${fills[@]}"; do
    read -r rootkey subkey keys values seed <<<"$fill"
    wine reg delete "$rootkey\\$subkey" /f >/dev/null 2>&1 || true
    echo "demo-registry: filling $rootkey\\$subkey with $keys keys and $values values..." >&2
    wine "$generator" "$rootkey" "$subkey" "$keys" "$values" "$seed" ||
      { echo "demo-registry: could not fill $rootkey\\$subkey" >&2; exit 1; }
  done
# The demo: one larger hive, so that an analysis takes a moment to watch:
# 4 MB of values, the same on every run (about 13 MB in the text copies Wine
# writes).
elif [ ! -f "$WINEPREFIX/.varnhold-demo-key" ]; then
  /usr/bin/python3 - "$WINEPREFIX/drive_c/demo-key.reg" <<'PY'
import sys
with open(sys.argv[1], "w", encoding="utf-16") as out:
    out.write("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\VarnholdDemo]\r\n")
    blob = ",".join(["41"] * 8000)
    for i in range(500):
        out.write(f'"Value{i}"=hex:{blob}\r\n')
PY
  view=()
  [ "$WINEARCH" = win64 ] && view=(/reg:64)  # the view the program copies
  wine reg import 'C:\demo-key.reg' "${view[@]}" >/dev/null 2>&1
  rm -f "$WINEPREFIX/drive_c/demo-key.reg"
  touch "$WINEPREFIX/.varnhold-demo-key"
fi
# Wine has no "MS Sans Serif", the windows' font; a face of the same width
# keeps the captions within their design widths.
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
  /v 'MS Sans Serif' /t REG_SZ /d 'Liberation Sans' /f >/dev/null 2>&1

drive_c="$WINEPREFIX/drive_c"
saved="$drive_c/varnhold-demo-save.tmp"
for hive in "${hives[@]}"; do
  IFS='|' read -r _ key file share <<<"$hive"
  rm -f "$saved"
  read -r rootkey subkey <<<"$key"
  wine "$save_key" "$rootkey" "$subkey" 'C:\varnhold-demo-save.tmp' >/dev/null 2>&1 || true
  [ -s "$saved" ] || { echo "demo-registry: could not save $key" >&2; exit 1; }
  target="$drive_c/${file//\\//}"
  mkdir -p "$(dirname "$target")"
  # The saved copy, then zeros: share per cent of the whole file is free.
  /usr/bin/python3 - "$saved" "$target" "$share" <<'PY'
import sys
saved, target, share = sys.argv[1], sys.argv[2], int(sys.argv[3])
data = open(saved, "rb").read()
free = (len(data) * share + (100 - share) // 2) // (100 - share)
with open(target, "wb") as out:
    out.write(data)
    out.write(bytes(free))
PY
done
rm -f "$saved"
wineserver -w
[ $large = 1 ] && echo "$stamp_text" >"$stamp"
exit 0
