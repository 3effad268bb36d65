#!/usr/bin/env bash
# Runs one 64-bit Windows program under wine64 with the test prefix, a display
# and a time-out. ctest calls it for every test program (the cross-compiling
# emulator); tools/test.sh prepares the prefix and one Xvfb for the whole run.
# With MIREL_LOCALE set the program runs under that locale's ANSI code page;
# with MIREL_WINE_PRELOAD set, Wine (and no other program) preloads that library.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
if [ -n "${MIREL_LOCALE:-}" ]; then mirel_locale || exit 1; fi
mirel_wine_prefix || exit 1
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
exec timeout -k 10 "${MIREL_WINE_TIMEOUT:-540}" \
  ${MIREL_WINE_PRELOAD:+env "LD_PRELOAD=$MIREL_WINE_PRELOAD"} "$MIREL_WINE64" "$@"
