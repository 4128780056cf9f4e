#!/usr/bin/env bash
# Cross-builds libjpeg-turbo from Debian's source package, static, for the
# 32-bit Windows build. Cached: does nothing when the library is installed.
# usage: build-libjpeg.sh <work dir> <install dir> <toolchain file>
set -euo pipefail
work=$1 prefix=$2 toolchain=$3
[ -f "$prefix/lib/libjpeg.a" ] && exit 0
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
  -DWITH_JPEG8=ON >cmake.log 2>&1
cmake --build build -j"$(nproc)" >build.log 2>&1
cmake --install build >install.log 2>&1
