# Shared by the scripts that run Windows programs: where wine64 is, the test
# prefix, and its one-time creation. Source it; it changes nothing else.
MIREL_WINE64=${MIREL_WINE64:-/usr/lib/wine/wine64}
export WINEPREFIX=${MIREL_WINEPREFIX:-${TMPDIR:-/tmp}/mirel-wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installers when the prefix is made.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

mirel_wine_prefix() {
  [ -f "$WINEPREFIX/.mirel-fontlink" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [ -f "$WINEPREFIX/.mirel-fontlink" ] && exit 0
    if [ ! -f "$WINEPREFIX/.mirel-ready" ]; then
      echo "creating Wine prefix $WINEPREFIX" >&2
      timeout 600 "$MIREL_WINE64" wineboot -i >/dev/null 2>&1
      # Without a window manager, managed windows cost 2 s at every hide or destroy.
      timeout 120 "$MIREL_WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
      # MIREL_WINE_DPI (such as 144) makes a prefix whose screen has that many
      # dots per inch for DPI-aware programs; it is read once, here, before any
      # test program runs, so such a prefix keeps its DPI.
      if [ -n "${MIREL_WINE_DPI:-}" ]; then
        timeout 120 "$MIREL_WINE64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
          /d "$MIREL_WINE_DPI" /f >/dev/null 2>&1
      fi
    fi
    # Wine's own fonts (fonts-wine): Tahoma for "MS Shell Dlg", Marlett for the
    # title bar's buttons. Debian 12's Wine 8 does not load them from its data
    # directory by itself, so the prefix names their folder. Prefixes made
    # before get it at their next use.
    timeout 120 "$MIREL_WINE64" reg add 'HKCU\Software\Wine\Fonts' /v Path /d 'Z:\usr\share\wine\fonts' /f >/dev/null 2>&1
    # Windows links its dialog font to fonts with Chinese, Japanese and
    # Korean glyphs; Wine's links name fonts that are not here, so Tahoma and
    # its bold face are linked to WenQuanYi Micro Hei (fonts-wqy-microhei).
    for face in Tahoma 'Tahoma Bold'; do
      timeout 120 "$MIREL_WINE64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v "$face" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1
    done
    timeout 120 /usr/lib/wine/wineserver -w
    touch "$WINEPREFIX/.mirel-ready" "$WINEPREFIX/.mirel-fontlink"
  ) 9>"$WINEPREFIX.lock"
}

# Wine takes its ANSI code page from the Unix locale: MIREL_LOCALE (such as
# ja_JP.UTF-8, code page 932) is compiled once into a folder beside the
# prefix and used through LOCPATH, leaving the system's locales alone.
mirel_locale() {
  export LOCPATH=${MIREL_LOCPATH:-$WINEPREFIX-locales}
  # Set only once compiled, or the shell warns that it cannot switch to it.
  [ -f "$LOCPATH/$MIREL_LOCALE/LC_CTYPE" ] || mirel_compile_locale || return 1
  export LC_ALL=$MIREL_LOCALE
}

mirel_compile_locale() {
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
