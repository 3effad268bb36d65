#!/usr/bin/env bash
# Runs one 64-bit Windows program under wine64 with the test prefix, a display
# and a time-out. ctest calls it for every test program (the cross-compiling
# emulator); tools/test.sh prepares the prefix and one Xvfb for the whole run.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
mirel_wine_prefix || exit 1
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
exec timeout -k 10 "${MIREL_WINE_TIMEOUT:-540}" "$MIREL_WINE64" "$@"
