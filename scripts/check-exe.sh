#!/usr/bin/env bash
# Checks what a user downloads: a 32-bit GUI executable that needs no DLL of
# the toolchain and whose manifest asks for elevation.
set -euo pipefail
exe=$1
file "$exe" | grep -q 'PE32 executable (GUI) Intel 80386' || { file "$exe"; echo "not a 32-bit GUI executable"; exit 1; }
dlls=$(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name/ {print tolower($3)}')
if grep -Eq 'libstdc|libgcc|libwinpthread|zlib|jpeg' <<<"$dlls"; then
  echo "links toolchain DLLs: $dlls"; exit 1
fi
grep -aq 'level="requireAdministrator"' "$exe" || { echo "manifest does not require administrator"; exit 1; }
grep -aq 'processorArchitecture="x86"' "$exe" || { echo "manifest is not x86"; exit 1; }
if grep -aq 'supportedOS' "$exe"; then echo "manifest must not name supported systems"; exit 1; fi
echo "$(basename "$exe"): $(stat -c %s "$exe") bytes, imports: $(echo $dlls)"
