#!/usr/bin/env bash
# Stages and packs a Windows build: the portable zip, the NSIS installer and
# the MSI package. usage: package.sh <win build dir> <out dir>
# With a certificate in the environment (VH_SIGN_PKCS12: scripts/sign.sh)
# the program, the uninstaller, the setup program and the MSI package are
# signed; the build's own varnhold.exe stays as linked.
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
sign() { [ -z "${VH_SIGN_PKCS12:-}" ] || bash "$root/scripts/sign.sh" "$@"; }
cp "$build/varnhold.exe" "$stage/"
sign "$stage/varnhold.exe"
cp "$root"/lang/DLan_*.ini "$stage/"
sed 's/$/\r/' "$root/res/installer/README.txt" >"$stage/README.txt"
sed 's/$/\r/' "$root/LICENSE" >"$stage/LICENSE.txt"
(cd "$out" && zip -qr -X "$name-portable.zip" "$name")
cp "$build/art/varnhold.ico" "$out/varnhold.ico"
cp "$out/varnhold.ico" "$stage/varnhold.ico"
signer=()
[ -z "${VH_SIGN_PKCS12:-}" ] || signer=(-DSIGN="$root/scripts/sign.sh")
makensis -V2 -DSOURCE="$stage" -DOUTFILE="$out/$name-setup.exe" "${signer[@]}" "$root/res/installer/varnhold.nsi" >"$out/makensis.log" || {
  cat "$out/makensis.log" >&2
  exit 1
}
sign "$out/$name-setup.exe"
# The package holds the signed program: its File table's size (and a hash,
# had it one) describe the file as shipped. Its custom action goes into the
# package only, never into the zip or the setup program.
cp "$build/varnhold_msi.dll" "$stage/"
sign "$stage/varnhold_msi.dll"
bash "$root/scripts/make-msi.sh" "$stage" "$msi_version" "$out/$name.msi" 2>"$out/wixl.log" || {
  cat "$out/wixl.log" >&2
  exit 1
}
sign "$out/$name.msi"
rm "$stage/varnhold.ico" "$stage/varnhold_msi.dll"
