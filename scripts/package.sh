#!/usr/bin/env bash
# Stages and packs a Windows build: the portable zip, the NSIS installer and
# the MSI package. usage: package.sh <win build dir> <out dir>
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
name=Varnhold-1.5
msi_version=1.5.0
stage="$out/$name"
rm -rf "$stage" "$out/$name-portable.zip" "$out/$name-setup.exe" "$out/$name.msi"
mkdir -p "$stage"
cp "$build/varnhold.exe" "$stage/"
cp "$root"/lang/DLan_*.ini "$stage/"
sed 's/$/\r/' "$root/res/installer/README.txt" >"$stage/README.txt"
sed 's/$/\r/' "$root/LICENSE" >"$stage/LICENSE.txt"
(cd "$out" && zip -qr -X "$name-portable.zip" "$name")
cp "$build/art/varnhold.ico" "$out/varnhold.ico"
cp "$out/varnhold.ico" "$stage/varnhold.ico"
makensis -V2 -DSOURCE="$stage" -DOUTFILE="$out/$name-setup.exe" "$root/res/installer/varnhold.nsi" >"$out/makensis.log"
bash "$root/scripts/make-msi.sh" "$stage" "$msi_version" "$out/$name.msi" 2>"$out/wixl.log" || {
  cat "$out/wixl.log" >&2
  exit 1
}
rm "$stage/varnhold.ico"
