#!/usr/bin/env bash
# Installs what building and testing Varnhold needs on a Debian machine.
# Idempotent and quiet: it only calls apt when something is missing.
set -euo pipefail

need_i386=0
dpkg --print-foreign-architectures | grep -qx i386 || need_i386=1

PACKAGES=(
  cmake make g++ clang pkg-config dpkg-dev
  googletest libgtest-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  libz-mingw-w64-dev
  wine wine64 wine32:i386
  xvfb xauth x11-apps xdotool imagemagick
  python3 python3-pil fonts-dejavu-core fonts-liberation hyperfine nsis zip
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# apt-get source needs a deb-src entry; keep ours in a file of its own.
SRC_LIST=/etc/apt/sources.list.d/varnhold-src.sources
need_src=0
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  need_src=1
fi

if [ "$need_i386" = 0 ] && [ "$need_src" = 0 ] && [ ${#missing[@]} = 0 ]; then
  exit 0
fi

SUDO=""
[ "$(id -u)" = 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive

if [ "$need_i386" = 1 ]; then
  $SUDO dpkg --add-architecture i386
fi
if [ "$need_src" = 1 ]; then
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  $SUDO tee "$SRC_LIST" >/dev/null <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $codename
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
fi
echo "install-deps: installing ${missing[*]:-(source lists only)}" >&2
$SUDO apt-get update -qq
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
