# Sourced by the package tests after they set root, build and name: packs
# the build into a scratch folder of the test's own (work, its packages in
# work/out), signed as a release is with a certificate made for the test
# alone (work/cert), and readies a fresh Wine prefix there.
work="$build/$name"
rm -rf "$work"
mkdir -p "$work/cert"
# certificate <file.p12> <subject>: self-signed, for code signing, its
# password in work/cert/password.
certificate() {
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "$2" -addext extendedKeyUsage=codeSigning \
    -keyout "${1%.p12}.key" -out "${1%.p12}.pem" 2>/dev/null
  openssl pkcs12 -export -inkey "${1%.p12}.key" -in "${1%.p12}.pem" -passout "file:$work/cert/password" -out "$1"
}
echo test-only >"$work/cert/password"
# What a CA issues to the company the version resource names.
publisher="Tolvane Software"
certificate "$work/cert/release.p12" "/O=$publisher/CN=$publisher"
export VH_SIGN_PKCS12="$work/cert/release.p12" VH_SIGN_PASSWORD_FILE="$work/cert/password"
bash "$root/scripts/package.sh" "$build" "$work/out"

export VH_WINEPREFIX="$work/prefix"
source "$root/scripts/wine-env.sh"
vh_wine_prefix_ready
fail() { echo "$name: $*" >&2; exit 1; }
# A fresh prefix lists no hive (Wine keeps none in files): one is listed,
# with a stand-in file where its hive file would lie, so that the installed
# program's analysis has a hive to copy and a scan ends with 0.
mkdir -p "$WINEPREFIX/drive_c/vh-hive"
head -c 65536 /dev/zero >"$WINEPREFIX/drive_c/vh-hive/SOFTWARE"
wine reg add 'HKLM\SYSTEM\CurrentControlSet\Control\hivelist' /v '\REGISTRY\MACHINE\SOFTWARE' /t REG_SZ \
  /d '\Device\HarddiskVolume1\vh-hive\SOFTWARE' /f >/dev/null 2>&1 || fail "the hive list could not be written"
# Starts the installed program's window and waits until it shows; whatever
# happens after, the program does not outlive the test.
program_window() {
  wine "$1" &
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
  for _ in $(seq 120); do
    xdotool search --name '^Varnhold$' >/dev/null 2>&1 && return 0
    sleep 0.5
  done
  fail "the installed program's window did not appear"
}
# Asks the program to close, and waits until it has.
close_program() {
  wine taskkill /IM varnhold.exe >/dev/null 2>&1 || true
  timeout 60 wineserver -w || fail "the program did not close when asked"
}
