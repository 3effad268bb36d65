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

# Wine takes its ANSI code page from the Unix locale: MIREL_LOCALE (such as
# ja_JP.UTF-8, code page 932) is compiled once into a folder beside the
# prefix and used through LOCPATH, leaving the system's locales alone.
mirel_locale() {
  export LOCPATH=${MIREL_LOCPATH:-$WINEPREFIX-locales}
  export LC_ALL=$MIREL_LOCALE
  [ -f "$LOCPATH/$MIREL_LOCALE/LC_CTYPE" ] && return 0
  mkdir -p "$LOCPATH"
  (
    flock 9
    [ -f "$LOCPATH/$MIREL_LOCALE/LC_CTYPE" ] && exit 0
    building="$LOCPATH/.building-$$"
    localedef -c -i "${MIREL_LOCALE%%.*}" -f "${MIREL_LOCALE#*.}" "$building" >/dev/null 2>&1
    [ -f "$building/LC_CTYPE" ] || { echo "cannot compile locale $MIREL_LOCALE" >&2; exit 1; }
    mv "$building" "$LOCPATH/$MIREL_LOCALE"
  ) 9>"$LOCPATH.lock"
}
