#!/usr/bin/env bash
# Builds the shipping-size DLLs (MinSizeRel, 32- and 64-bit) and the benchmark
# program, runs it under wine64, runs the native parser benchmark (preset
# native-bench: -O2, no sanitizers) and prints the figures as Markdown tables
# with the machine and the date. Figures, not a test: nothing here fails on a
# time.
#
#   tools/bench/run.sh [REPEATS]     (default 15)
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
repeats=${1:-15}
cd "$root"
tools/deps.sh
log=$(mktemp)
trap 'rm -f "$log"' EXIT
build() {
  local preset=$1 dir=$2
  shift 2
  cmake --preset "$preset" -B "$dir" -DCMAKE_BUILD_TYPE=MinSizeRel -DMIREL_TESTS=OFF >"$log" 2>&1 ||
    { cat "$log" >&2; exit 1; }
  cmake --build "$dir" --target "$@" >"$log" 2>&1 || { cat "$log" >&2; exit 1; }
}
build win32 build/bench-win32 MirelDialog
build win64 build/bench-win64 MirelDialog mirel_bench
cmake --preset native-bench >"$log" 2>&1 || { cat "$log" >&2; exit 1; }
cmake --build build/native-bench --target mirel_parse_bench >"$log" 2>&1 || { cat "$log" >&2; exit 1; }

# A prefix of its own: a Wine server shared with runs on another display fails.
export MIREL_WINEPREFIX=${MIREL_WINEPREFIX:-$root/build/bench-wine-prefix}
. tools/wine-env.sh
mirel_wine_prefix
echo "Machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)," \
  "$(free -g | awk '/^Mem:/ {print $2}') GiB; $("$MIREL_WINE64" --version 2>/dev/null) under Xvfb;" \
  "$(date -u +%Y-%m-%d)"
echo
tools/wine-run.sh build/bench-win64/mirel_bench.exe "Z:$root/build/bench-win64/MirelDialog.dll" \
  "Z:$root/examples/offer.txt" "$repeats" 2> >(grep -v '^X connection' >&2)
build/native-bench/mirel_parse_bench examples/offer.txt "$repeats"
echo "| DLL (MinSizeRel, stripped, no C++ runtime) | bytes |"
echo "|---|---:|"
echo "| 32-bit (i686), shipped | $(stat -c %s build/bench-win32/MirelDialog.dll) |"
echo "| 64-bit (x86_64) | $(stat -c %s build/bench-win64/MirelDialog.dll) |"
