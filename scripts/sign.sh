#!/usr/bin/env bash
# Signs Windows files in place with Authenticode (SHA-256), with osslsigncode:
# executables and MSI packages alike.
# usage: sign.sh <file>...
# The certificate and its key come from the environment:
#   VH_SIGN_PKCS12         a PKCS#12 file (.p12, .pfx) with the key and the
#                          certificate, and the CA's intermediates if any
#   VH_SIGN_PASSWORD_FILE  a file whose first line is its password, or
#   VH_SIGN_PASSWORD       the password itself
#   VH_SIGN_TIMESTAMP      optional: an RFC 3161 time-stamping server's URL;
#                          a timestamped signature stays valid after the
#                          certificate expires
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
die() { echo "sign.sh: $*" >&2; exit 1; }
[ $# -gt 0 ] || die "usage: sign.sh <file>..."
p12=${VH_SIGN_PKCS12:-}
[ -f "$p12" ] || die "no PKCS#12 file: set VH_SIGN_PKCS12"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The password reaches the tools in a file of our own, never on a command
# line that every user of the machine can read.
passfile=$scratch/password
if [ -n "${VH_SIGN_PASSWORD_FILE:-}" ]; then
  head -n1 "$VH_SIGN_PASSWORD_FILE" | tr -d '\r\n' >"$passfile"
elif [ -n "${VH_SIGN_PASSWORD+set}" ]; then
  printf '%s' "$VH_SIGN_PASSWORD" >"$passfile"
else
  die "no password for $p12: set VH_SIGN_PASSWORD_FILE or VH_SIGN_PASSWORD"
fi

# Windows shows the signer as the publisher (the elevation prompt, the file's
# properties, AppLocker and WDAC publisher rules), and the version resource
# names the company: both must say the same. The elevation prompt names the
# program by the signature's description: the product's name.
version_value() { sed -n "s/^ *VALUE \"$1\", \"\(.*\)\"/\1/p" "$root/res/varnhold.rc"; }
company=$(version_value CompanyName)
product=$(version_value ProductName)
cert=$(openssl pkcs12 -in "$p12" -passin "file:$passfile" -nokeys -clcerts 2>/dev/null ||
  openssl pkcs12 -legacy -in "$p12" -passin "file:$passfile" -nokeys -clcerts 2>/dev/null) ||
  die "cannot read $p12 (wrong password?)"
subject=$(openssl x509 -noout -subject -nameopt multiline,utf8,-esc_msb <<<"$cert")
names=$(sed -n 's/^ *\(commonName\|organizationName\) *= \(.*\)$/\1=\2/p' <<<"$subject")
grep -q '^commonName=' <<<"$names" || die "the certificate names no subject (CN)"
while IFS='=' read -r field name; do
  [ "$name" = "$company" ] ||
    die "the certificate's $field is \"$name\", the version resource's CompanyName (res/varnhold.rc) \"$company\": make them one"
done <<<"$names"

args=(-pkcs12 "$p12" -readpass "$passfile" -h sha256 -comm -n "$product" -i "https://www.tolvane.com/varnhold/")
[ -z "${VH_SIGN_TIMESTAMP:-}" ] || args+=(-ts "$VH_SIGN_TIMESTAMP")
for file in "$@"; do
  osslsigncode sign "${args[@]}" -in "$file" -out "$scratch/signed" >"$scratch/log" 2>&1 ||
    { cat "$scratch/log" >&2; die "signing $file failed"; }
  # In place, keeping the file's name: makensis reads the uninstaller back
  # from the path it gave.
  cat "$scratch/signed" >"$file"
  rm "$scratch/signed"
  echo "sign.sh: signed $(basename "$file")"
done
