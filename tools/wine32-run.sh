#!/usr/bin/env bash
# Runs one 32-bit Windows program under 32-bit Wine (wine32:i386) in the
# 32-bit test prefix, build/wine32-prefix unless MIREL_WINE32PREFIX names
# another; the rest is tools/wine-run.sh. ctest calls it for every program of
# the win32 preset.
here=$(cd "$(dirname "$0")" && pwd)
export MIREL_WINE64=/usr/lib/wine/wine WINEARCH=win32
export MIREL_WINEPREFIX=${MIREL_WINE32PREFIX:-$here/../build/wine32-prefix}
exec "$here/wine-run.sh" "$@"
