#!/usr/bin/env bash
# Configures and builds one of the project's builds, quietly; on failure the
# log's tail is shown. usage: build.sh native|asan|win|fuzz
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
kind=$1
dir="$root/build/$kind"
jobs=$(nproc)
case "$kind" in
  native) args=(-DCMAKE_BUILD_TYPE=Debug) ;;
  asan) args=(-DCMAKE_BUILD_TYPE=Debug -DVH_SANITIZE=ON) ;;
  win) args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release) ;;
  fuzz) args=(-DCMAKE_BUILD_TYPE=Debug -DVH_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
  *) echo "usage: build.sh native|asan|win|fuzz" >&2; exit 2 ;;
esac
mkdir -p "$dir"
log="$dir/build.log"
# CMake keeps the compilers of its first configure: a build folder made with
# another toolchain file is configured anew.
if [ "$kind" = win ]; then
  want=$(sha1sum "$root/cmake/mingw-i686.cmake" | cut -d' ' -f1)
  if [ "$(cat "$dir/.toolchain" 2>/dev/null)" != "$want" ]; then
    rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
    echo "$want" >"$dir/.toolchain"
  fi
fi
if ! { cmake -S "$root" -B "$dir" "${args[@]}" && cmake --build "$dir" -j"$jobs"; } >"$log" 2>&1; then
  tail -40 "$log" >&2
  echo "build.sh: the $kind build failed (log: $log)" >&2
  exit 1
fi
