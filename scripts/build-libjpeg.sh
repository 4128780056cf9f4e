#!/usr/bin/env bash
# Cross-builds libjpeg-turbo from Debian's source package, static, for the
# 32-bit Windows build. Cached: does nothing when the library is installed
# with the same options.
# usage: build-libjpeg.sh <work dir> <install dir> <toolchain file>
set -euo pipefail
work=$1 prefix=$2 toolchain=$3
# NO_GETENV: no JPEGMEM variable read with sscanf, which would link the C
# library's whole scanf and strtod (some 35 KB) into the program.
# Sized like the program: -Os, sections the linker can drop, and no unwind
# tables, since errors leave the decoder by longjmp, never by an exception
# (about 50 KB; the background decodes some 1 ms slower).
cflags="-DNO_GETENV -ffunction-sections -fdata-sections -fno-asynchronous-unwind-tables"
release="-Os -DNDEBUG"
stamp="$prefix/.options"
[ -f "$prefix/lib/libjpeg.a" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$cflags $release" ] && exit 0
rm -rf "$prefix" "$work/build"
mkdir -p "$work"
cd "$work"
if ! ls libjpeg-turbo_*.dsc >/dev/null 2>&1; then
  apt-get source --download-only libjpeg-turbo >/dev/null 2>apt-source.log
fi
src=$(ls -d libjpeg-turbo-*/ 2>/dev/null | head -1 || true)
if [ -z "$src" ]; then
  dpkg-source --no-check -x libjpeg-turbo_*.dsc >/dev/null
  src=$(ls -d libjpeg-turbo-*/ | head -1)
fi
cmake -S "$src" -B build -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF \
  -DWITH_JPEG8=ON -DCMAKE_C_FLAGS="$cflags" -DCMAKE_C_FLAGS_RELEASE="$release" >cmake.log 2>&1
cmake --build build -j"$(nproc)" >build.log 2>&1
cmake --install build >install.log 2>&1
echo "$cflags $release" >"$stamp"
