#!/usr/bin/env bash
# Builds the release packages into build/release: a portable zip (the
# program, its language files, a short readme and the licence), a Windows
# installer made with NSIS, and an MSI package made with wixl for Group
# Policy, Intune and Configuration Manager.
# usage: release.sh [--pkcs12 FILE --password-file FILE] [--timestamp URL]
# Given a code-signing certificate (here, or as VH_SIGN_PKCS12 with
# VH_SIGN_PASSWORD_FILE or VH_SIGN_PASSWORD, and VH_SIGN_TIMESTAMP: see
# scripts/sign.sh), varnhold.exe, the uninstaller, the setup program and the
# MSI package are signed; without one all are built unsigned.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
usage() { echo "usage: release.sh [--pkcs12 FILE --password-file FILE] [--timestamp URL]" >&2; exit 2; }
while [ $# -gt 0 ]; do
  [ $# -ge 2 ] || usage
  case "$1" in
    --pkcs12) export VH_SIGN_PKCS12=$2 ;;
    --password-file) export VH_SIGN_PASSWORD_FILE=$2 ;;
    --timestamp) export VH_SIGN_TIMESTAMP=$2 ;;
    *) usage ;;
  esac
  shift 2
done
# Named from where the caller stands; everything below runs from the root.
for var in VH_SIGN_PKCS12 VH_SIGN_PASSWORD_FILE; do
  [ -z "${!var:-}" ] && continue
  [ -f "${!var}" ] || { echo "release: ${!var}: no such file" >&2; exit 1; }
  export "$var=$(realpath "${!var}")"
done
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh win
if [ -n "${VH_SIGN_PKCS12:-}" ]; then
  echo "release: signing with $VH_SIGN_PKCS12${VH_SIGN_TIMESTAMP:+, timestamped by $VH_SIGN_TIMESTAMP}"
else
  echo "release: no certificate given (--pkcs12, or VH_SIGN_PKCS12): the packages are unsigned"
fi
bash scripts/package.sh build/win build/release
ls -l build/release/*.zip build/release/*.exe build/release/*.msi
