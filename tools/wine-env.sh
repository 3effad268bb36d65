# Shared by the scripts that run Windows programs: where wine64 is, the test
# prefix, and its one-time creation. Source it; it changes nothing else.
MIREL_WINE64=${MIREL_WINE64:-/usr/lib/wine/wine64}
export WINEPREFIX=${MIREL_WINEPREFIX:-${TMPDIR:-/tmp}/mirel-wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installers when the prefix is made.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

mirel_wine_prefix() {
  [ -f "$WINEPREFIX/.mirel-ready" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [ -f "$WINEPREFIX/.mirel-ready" ] && exit 0
    echo "creating Wine prefix $WINEPREFIX" >&2
    timeout 600 "$MIREL_WINE64" wineboot -i >/dev/null 2>&1
    # Without a window manager, managed windows cost 2 s at every hide or destroy.
    timeout 120 "$MIREL_WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    timeout 120 /usr/lib/wine/wineserver -w
    touch "$WINEPREFIX/.mirel-ready"
  ) 9>"$WINEPREFIX.lock"
}
