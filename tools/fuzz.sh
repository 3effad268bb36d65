#!/usr/bin/env bash
# Runs the fuzz targets for as long as asked, natively under AddressSanitizer
# and UndefinedBehaviorSanitizer:
#
#   tools/fuzz.sh SECONDS [TARGET...]     (default: every tests/fuzz/*_fuzz.cpp)
#
# Each target runs SECONDS with its seed corpus (tests/fuzz/corpus/TARGET, read
# only) and its dictionary. New inputs and any crash-*, leak-*, timeout-* or
# slow-unit-* file go to build/fuzz/TARGET/, the output to build/fuzz/TARGET.log.
# Ends with the executions per target; fails when a target found something.
# MIREL_FUZZ_BUILD names another build directory for the native preset.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:?usage: tools/fuzz.sh SECONDS [TARGET...]}
shift
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in tests/fuzz/*_fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi

build=${MIREL_FUZZ_BUILD:-build/native}
tools/deps.sh
cmake --preset native -B "$build" >/dev/null
cmake --build "$build" --target "${targets[@]}"
mkdir -p build/fuzz

status=0
summary=""
for target in "${targets[@]}"; do
  work=build/fuzz/$target
  dict=()
  [ -f "tests/fuzz/$target.dict" ] && dict=("-dict=tests/fuzz/$target.dict")
  echo "== $target: $seconds s" >&2
  result=ok
  ASAN_OPTIONS=detect_leaks=1 tools/fuzz-run.sh "$build/$target" "tests/fuzz/corpus/$target" \
    "$work" "$seconds" "${dict[@]}" >"$work.log" 2>&1 || result="FOUND SOMETHING (see $work.log)"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work.log" | tail -1)
  summary+=$(printf '%-28s %12s executions  %s' "$target" "${runs:-?}" "$result")$'\n'
  [ "$result" = ok ] || status=1
done
printf '%s' "$summary"
exit $status
