#!/usr/bin/env bash
# Runs one 32-bit Windows program under 32-bit Wine (wine32:i386) in the
# 32-bit test prefix, build/wine32-prefix unless MIREL_WINE32PREFIX names
# another; the rest is tools/wine-run.sh. ctest calls it for every program of
# the win32 preset, tools/test32.sh for the hosts and installers.
#
# Under qemu-user (tools/qemu-i386.sh) each Wine process costs seconds to
# start, so the prefix's Wine server and services are kept between programs,
# and Wine gets the page faults right (tools/wine32-traps.c). The program's
# output then goes through a file, so that the services it may start do not
# hold the caller's output open. A failure that Wine's own messages put on
# the emulation exits 77 with the message (the win32 preset counts it as
# skipped); any other result is the program's.
here=$(cd "$(dirname "$0")" && pwd)
export MIREL_WINE64=/usr/lib/wine/wine WINEARCH=win32
export MIREL_WINEPREFIX=${MIREL_WINE32PREFIX:-$here/../build/wine32-prefix}
"$here/qemu-i386.sh" emulated || exec "$here/wine-run.sh" "$@"

export WINEDEBUG=${WINEDEBUG:--all,err+seh,err+service}
# How many times slower than native code the suites' time limits allow for.
export MIREL_TIME_SCALE=${MIREL_TIME_SCALE:-4}
MIREL_WINE_PRELOAD=$("$here/qemu-i386.sh" traps) || exit 1
export MIREL_WINE_PRELOAD
. "$here/wine-env.sh"
mirel_wine_prefix || exit 1
# Kept for 30 s after the last program ends, on the display they share;
# fails harmlessly when one runs.
[ -n "${DISPLAY:-}" ] && /usr/lib/wine/wineserver -p30 2>/dev/null

log=$(mktemp)
"$here/wine-run.sh" "$@" >"$log" 2>&1
code=$?
cat "$log"
if [ "$code" -ne 0 ] && fault=$("$here/qemu-i386.sh" fault "$log"); then
  echo "emulated Wine failed (exit $code): $fault"
  code=77
fi
rm -f "$log"
exit $code
