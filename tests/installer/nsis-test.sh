#!/usr/bin/env bash
# Runs the example installer silently three times and answers its consent
# dialog from outside: Yes, No, then the title bar's close command. Checks the
# installer's exit code, the answer it wrote and whether it installed the
# offered extra.
#
#   nsis-test.sh WINE OFFERCLICK INSTALLER OFFER-FILE WORK-DIR
#
# WINE runs one Windows program (tools/wine-run.sh, or a 32-bit wine).
set -u
if [ $# -ne 5 ]; then
  echo "usage: $0 WINE OFFERCLICK INSTALLER OFFER-FILE WORK-DIR" >&2
  exit 2
fi
wine=$1 offerclick=$2 installer=$3 offer=$4 work=$5
seconds=${MIREL_DIALOG_SECONDS:-60}
title=$(tr -d '\r\n' <"$offer" | sed -n 's:.*<TITLE>[[:space:]]*\(.*[^[:space:]]\)[[:space:]]*</TITLE>.*:\1:p')
if [ -z "$title" ]; then
  echo "no TITLE in $offer" >&2
  exit 2
fi

passed=0 failed=0
fail() {
  echo "FAIL ($answer): $*" >&2
  failed=$((failed + 1))
}

# answer, expected exit code, whether the extra is installed (yes/no)
run_case() {
  answer=$1 expected=$2 extra=$3
  local dir=$work/$answer before=$failed
  rm -rf "$dir"
  mkdir -p "$dir"
  # Wine's Z: drive is the Linux root; /D= must come last and unquoted.
  local windir="Z:${dir//\//\\}"
  "$wine" "$offerclick" "$title" "$answer" "$seconds" "$installer" /S "/D=$windir"
  local code=$?
  [ "$code" -eq "$expected" ] || fail "exit code $code, expected $expected"
  [ -f "$dir/example-product.txt" ] || fail "the product itself was not installed"
  local written
  written=$(cat "$dir/offer-answer.txt" 2>/dev/null)
  [ "$written" = "$expected" ] || fail "offer-answer.txt holds '$written', expected $expected"
  if [ "$extra" = yes ]; then
    [ -f "$dir/Extra Tool/extra-tool.txt" ] || fail "the accepted extra was not installed"
  else
    [ ! -e "$dir/Extra Tool" ] || fail "the extra was installed without consent"
  fi
  [ "$failed" -eq "$before" ] && passed=$((passed + 1))
}

run_case yes 1 yes
run_case no 2 no
run_case close 8 no
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
