#!/usr/bin/env bash
# Installs what building and testing Varnhold needs on a Debian machine.
# Idempotent and quiet: it only calls apt when something is missing.
set -euo pipefail

need_i386=0
dpkg --print-foreign-architectures | grep -qx i386 || need_i386=1

PACKAGES=(
  cmake make g++ clang pkg-config dpkg-dev
  googletest libgtest-dev libgmock-dev zlib1g-dev libclang-rt-14-dev file
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
  g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32 binutils-mingw-w64-i686
  libz-mingw-w64-dev
  wine wine64 wine32:i386 fonts-wine
  xvfb xauth x11-apps xdotool imagemagick
  python3 python3-pil fonts-dejavu-core fonts-liberation hyperfine nsis zip wixl msitools
  # Signing a release, and the test's own certificate.
  osslsigncode openssl
  # Chinese characters, for measuring the Chinese language file's texts.
  fonts-wqy-microhei
)

# Prints a deb-src stanza for each archive the machine already installs the
# release's own suite from, so no mirror is named here. Other suites
# (security, updates) and third-party archives have no sources to offer.
vh_source_entries() {
  local suite uris uri key
  suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
  uris=$(
    { sed -nE "s/^[[:space:]]*deb[[:space:]]+(\[[^]]*\][[:space:]]+)?([^[:space:]]+)[[:space:]]+$suite([[:space:]].*)?\$/\2/p" \
        /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null
      for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] && [ "$f" != "$SRC_LIST" ] || continue
        awk -v suite="$suite" 'BEGIN { RS=""; FS="\n" }
          { types=""; uris=""; suites=""
            for (i = 1; i <= NF; i++) {
              if ($i ~ /^Types:/) types=" " substr($i, 7) " "
              if ($i ~ /^URIs:/) uris=substr($i, 6)
              if ($i ~ /^Suites:/) suites=" " substr($i, 8) " "
            }
            gsub(/\t/, " ", types); gsub(/\t/, " ", suites)
            if (types ~ / deb / && suites ~ (" " suite " ")) print uris }' "$f"
      done; } | tr ' ' '\n' | sed '/^$/d' | sort -u)
  key=/usr/share/keyrings/debian-archive-keyring.gpg
  for uri in $uris; do
    printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\n' "$uri" "$suite"
    [ -f "$key" ] && printf 'Signed-By: %s\n' "$key"
    echo
  done
}

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
  # The source entry mirrors the machine's own binary entries: same
  # addresses, suites, components and keys, only the type differs.
  src=$(vh_source_entries)
  if [ -z "$src" ]; then
    echo "install-deps: no 'deb' entry found in the package sources to mirror as deb-src" >&2
    exit 1
  fi
  printf '%s\n' "$src" | $SUDO tee "$SRC_LIST" >/dev/null
fi
echo "install-deps: installing ${missing[*]:-(source lists only)}" >&2
$SUDO apt-get update -qq
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
