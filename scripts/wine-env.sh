# Sourced by the scripts that run Wine. The prefix is made once per test run
# (or per demo) below the build tree unless VH_WINEPREFIX names another.
: "${VH_WINEPREFIX:=${TMPDIR:-/tmp}/varnhold-wine-$(id -u)}"
export WINEPREFIX="$VH_WINEPREFIX"
# The tests run on a 64-bit prefix, where the program meets WOW64. The demo
# registry has a 32-bit one: Wine's RegSaveKey leaves the 32-bit branch
# (Wow6432Node) out of a 64-bit SOFTWARE copy, so the copy check would rightly
# refuse that hive.
export WINEARCH="${VH_WINEARCH:-win64}"
export WINEDEBUG=-all
# Wine names files on the Unix side in the locale's character set: without a
# UTF-8 locale (a bare root has none set) no name outside ASCII can be made.
case "${LC_ALL:-${LC_CTYPE:-${LANG:-}}}" in
  *UTF-8* | *utf8*) ;;
  *) export LC_ALL=C.UTF-8 ;;
esac
# No Mono or Gecko installer prompt may block a headless run.
export WINEDLLOVERRIDES="mscoree,mshtml="

vh_wine_prefix_ready() {
  if [ ! -f "$WINEPREFIX/.varnhold-ready" ]; then
    mkdir -p "$WINEPREFIX"
    (
      flock 9
      if [ ! -f "$WINEPREFIX/.varnhold-ready" ]; then
        wineboot -i >/dev/null 2>&1 || true
        # Wine draws the frames itself: there is no window manager on the
        # virtual display, and waiting for one costs two seconds a window.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
        wineserver -w
        touch "$WINEPREFIX/.varnhold-ready"
      fi
    ) 9>"$WINEPREFIX.lock"
  fi
  # The caption buttons' glyphs come from Marlett (Debian's fonts-wine),
  # which this Wine does not look for in its own data folder.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ ! -f "$fonts/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    mkdir -p "$fonts"
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  fi
}
