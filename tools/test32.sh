#!/usr/bin/env bash
# The 32-bit runtime stage: the shipping 32-bit DLL in 32-bit hosts under
# 32-bit Wine, in a Wine prefix of its own (build/wine32-prefix):
#   - tests/host32/host32.c, built with thiscall and with fastcall tables:
#     Yes gives 1, the close command 8, a missing width 3, the object driven
#     through its table, the observer set through the object's field;
#   - the 32-bit example installer (examples/nsis/offer.nsi): Yes gives 1,
#     No 2, close 8, answered from outside by offerclick;
#   - the Inno Setup example (examples/inno/offer.iss) and a wizard that asks
#     when Install is clicked, compiled by Inno Setup 6 (fetched once into
#     build/innosetup) and run by tests/installer/inno-test.sh.
#
#   tools/test32.sh [BUILD-DIR]     (default build/win32, built by tools/test.sh)
#
# Installs 32-bit Wine (wine32:i386) when it is missing. Where the kernel
# cannot run 32-bit programs and nothing else lets them run, it registers
# qemu-user for this stage only (tools/qemu-i386.sh) and removes the
# registration afterwards; programs run through tools/wine32-run.sh either
# way. Under emulation a failure counts as the emulator's, SKIPPED with Wine's
# message, only when Wine's own messages show one (a trap it cannot place, a
# service that died); a time-out or a missing dialog is a failure like any
# other. The whole stage keeps within MIREL_TEST32_SECONDS (default 840).
# Ends with "N passed, N failed, N skipped"; exits 1 only for failures.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win32}" && pwd)
deadline=$((SECONDS + ${MIREL_TEST32_SECONDS:-840}))
wine32=/usr/lib/wine/wine
prefix=$root/build/wine32-prefix
wine32_run=$root/tools/wine32-run.sh
logs=$build/test32-logs
passed=0 failed=0 skipped=0
emulated=no
registered_here=no

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

summary() {
  echo "$passed passed, $failed failed, $skipped skipped"
}

# Nothing can run: one skip with its reason.
skip_stage() {
  echo "test32: SKIPPED: $*"
  skipped=$((skipped + 1))
  summary
  exit 0
}

cleanup() {
  [ -d "$prefix" ] && WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null
  if [ "$registered_here" = yes ]; then
    "$root/tools/qemu-i386.sh" unregister
  fi
}
trap cleanup EXIT
trap 'exit 143' TERM INT

for file in MirelDialog.dll host32.exe host32_fastcall.exe offerclick.exe offer-setup.exe; do
  if [ ! -f "$build/$file" ]; then
    echo "test32: $build/$file is missing: build the win32 preset first" >&2
    exit 1
  fi
done
mkdir -p "$logs"

"$root/tools/wine32-install.sh" >"$logs/install.log" 2>&1
case $? in
0) grep '^wine32-install:' "$logs/install.log" ;;
2) skip_stage "32-bit Wine (wine32:i386) could not be installed: $(tail -1 "$logs/install.log")" ;;
*)
  echo "test32: FAILED: 32-bit Wine (wine32:i386) could not be installed; $logs/install.log:"
  tail -20 "$logs/install.log"
  failed=1
  summary
  exit 1
  ;;
esac
"$wine32" --version >"$logs/version.log" 2>&1
code=$?
if [ "$code" -ne 0 ] && [ "$code" -ne 126 ]; then
  skip_stage "32-bit Wine does not start: $(tail -1 "$logs/version.log")"
fi
# 126: the kernel refused the 32-bit program (Exec format error).
if [ "$code" -eq 126 ]; then
  register=$("$root/tools/qemu-i386.sh" register 2>"$logs/qemu.log") ||
    skip_stage "this kernel runs no 32-bit programs and qemu-user could not be set up: $(tail -1 "$logs/qemu.log")"
  [ "$register" = registered ] && registered_here=yes
  echo "test32: 32-bit programs run under qemu-user (registered for this stage)"
fi
if "$root/tools/qemu-i386.sh" emulated; then
  emulated=yes
  [ "$registered_here" = yes ] || echo "test32: 32-bit programs run under qemu-user (registered before this stage)"
fi

# The project's Wine scripts, pointed at 32-bit Wine and the 32-bit prefix;
# Wine's error messages stay in the logs.
export MIREL_WINE32PREFIX=$prefix WINEDEBUG=fixme-all,warn-all
export MIREL_WINE64=$wine32 WINEARCH=win32 MIREL_WINEPREFIX=$prefix
. "$root/tools/wine-env.sh"

remaining() {
  echo $((deadline - SECONDS))
}

[ "$(remaining)" -gt 60 ] || skip_stage "no time left to create the 32-bit prefix"
mirel_wine_prefix >"$logs/prefix.log" 2>&1
if [ ! -f "$prefix/.mirel-ready" ]; then
  skip_stage "the 32-bit Wine prefix could not be created ($(grep -m1 -E 'err:|rror' "$logs/prefix.log"))"
fi

# name, code, log: records and prints one result.
judge() {
  local name=$1 code=$2 log=$3 fault
  if [ "$code" -eq 0 ]; then
    echo "test32: $name: PASSED"
    passed=$((passed + 1))
    return
  fi
  if [ "$emulated" = yes ] && fault=$("$root/tools/qemu-i386.sh" fault "$log"); then
    echo "test32: $name: SKIPPED: emulated Wine failed (exit $code): $fault"
    skipped=$((skipped + 1))
    return
  fi
  echo "test32: $name: FAILED (exit $code); $log:"
  tail -20 "$log"
  failed=$((failed + 1))
}

# name, seconds, command...: runs it within the stage's time.
run() {
  local name=$1 limit=$2 left
  shift 2
  left=$(remaining)
  if [ "$left" -lt 30 ]; then
    echo "test32: $name: SKIPPED: the stage's time limit was reached"
    skipped=$((skipped + 1))
    return
  fi
  [ "$limit" -gt "$left" ] && limit=$left
  local log=$logs/$name.log
  timeout -k 10 "$limit" "$@" >"$log" 2>&1
  local code=$?
  [ "$code" -eq 124 ] || [ "$code" -eq 137 ] && echo "ran out of its $limit s" >>"$log"
  grep -h -E '^(host32|offerclick)' "$log" | sed 's/^/  /'
  judge "$name" "$code" "$log"
}

# Under emulation each Wine process takes seconds to start and the dialog
# comes up slower.
per_dialog=20 per_run=120
if [ "$emulated" = yes ]; then
  per_dialog=60 per_run=300
fi
export MIREL_DIALOG_SECONDS=$per_dialog MIREL_WINE_TIMEOUT=$per_run
run host32 "$per_run" "$wine32_run" "$build/host32.exe" "$per_dialog"
run host32_fastcall "$per_run" "$wine32_run" "$build/host32_fastcall.exe" "$per_dialog"
run nsis_installer $((per_run * 3)) "$root/tests/installer/nsis-test.sh" "$wine32_run" \
  "$build/offerclick.exe" "$build/offer-setup.exe" "$root/examples/offer.txt" "$build/nsis-test"

if ! iscc=$("$root/tools/inno-compiler.sh" 2>"$logs/inno-compiler.log"); then
  echo "test32: inno_installer: FAILED: Inno Setup's compiler could not be fetched: $(tail -1 "$logs/inno-compiler.log")"
  failed=$((failed + 1))
else
  run inno_installer $((per_run * 3)) "$root/tests/installer/inno-test.sh" "$wine32_run" \
    "$build/offerclick.exe" "$iscc" "$build/MirelDialog.dll" "$build/inno-test"
fi

summary
[ "$failed" -eq 0 ]
