#!/usr/bin/env bash
# Compiles the Inno Setup example (examples/inno/offer.iss) and ready-offer.iss
# with the given DLL, then runs them answered from outside by offerclick:
#   - the example with /SILENT three times, answered Yes, No and close: Setup's
#     log holds the answer, the extra is installed only after Yes, and Setup's
#     windows are disabled while the offer asks;
#   - ready-offer.iss, whose Install button asks: Install is clicked with the
#     mouse, clicked again while the offer asks, and the offer answered No;
#     only one offer may open, and Setup's windows are disabled meanwhile.
#
#   inno-test.sh WINE OFFERCLICK ISCC DLL WORK-DIR
#
# WINE runs one 32-bit Windows program; ISCC is Inno Setup 6's ISCC.exe.
set -u
if [ $# -ne 5 ]; then
  echo "usage: $0 WINE OFFERCLICK ISCC DLL WORK-DIR" >&2
  exit 2
fi
wine=$1 offerclick=$2 iscc=$3 dll=$4 work=$5
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${MIREL_DIALOG_SECONDS:-60}
offer=$root/examples/offer.txt
title=$(tr -d '\r\n' <"$offer" | sed -n 's:.*<TITLE>[[:space:]]*\(.*[^[:space:]]\)[[:space:]]*</TITLE>.*:\1:p')

passed=0 failed=0
fail() {
  echo "FAIL ($case): $*" >&2
  failed=$((failed + 1))
}

# Wine's Z: drive is the Linux root.
winpath() {
  echo "Z:${1//\//\\}"
}

# script, defines...: compiles it into $work.
compile() {
  local script=$1
  shift
  "$wine" "$iscc" /Q "/DMirelDll=$(winpath "$dll")" "$@" "/O$(winpath "$work")" "$(winpath "$script")"
}

# name, setup, answer, expected answer, extra installed (yes/no), setup's arguments...
run_case() {
  case=$1
  local setup=$2 answer=$3 expected=$4 extra=$5 before=$failed
  shift 5
  local dir=$work/$case
  rm -rf "$dir" "$dir.log"
  "$wine" "$offerclick" --host-disabled "$title" "$answer" "$seconds" "$setup" \
    /SUPPRESSMSGBOXES "/LOG=$(winpath "$dir.log")" "/DIR=$(winpath "$dir")" "$@"
  local code=$?
  [ "$code" -eq 0 ] || fail "exit code $code, expected 0"
  local answers
  answers=$(sed -n 's/.*Offer answered with \(-\{0,1\}[0-9]*\).*/\1/p' "$dir.log" 2>/dev/null | tr '\n' ' ')
  [ "$answers" = "$expected " ] || fail "Setup's log holds the answers '$answers', expected $expected"
  [ -f "$dir/example-product.txt" ] || fail "the product itself was not installed"
  if [ "$extra" = yes ]; then
    [ -f "$dir/Extra Tool/extra-tool.txt" ] || fail "the accepted extra was not installed"
  else
    [ ! -e "$dir/Extra Tool" ] || fail "the extra was installed without consent"
  fi
  [ "$failed" -eq "$before" ] && passed=$((passed + 1))
}

rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd) dll=$(cd "$(dirname "$dll")" && pwd)/$(basename "$dll")
sed 's:<LOCATION>.*</LOCATION>:<LOCATION>Top-Left</LOCATION>:' "$offer" >"$work/offer.txt"
case=compile
compile "$root/examples/inno/offer.iss" || fail "offer.iss does not compile"
compile "$root/tests/installer/ready-offer.iss" "/DOffer=$(winpath "$work/offer.txt")" ||
  fail "ready-offer.iss does not compile"
if [ "$failed" -eq 0 ]; then
  run_case yes "$work/offer-setup.exe" yes 1 yes /SILENT
  run_case no "$work/offer-setup.exe" no 2 no /SILENT
  run_case close "$work/offer-setup.exe" close 8 no /SILENT
  run_case install-twice "$work/ready-offer-setup.exe" install-twice 2 no
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
