#!/usr/bin/env bash
# tools/qemu-i386.sh's decisions: which binfmt_misc entries make 32-bit
# programs run under qemu-user, and which lines of a log put a failure on
# the emulation rather than on the program.
set -u
. "$(dirname "$0")/../../tools/qemu-i386.sh"
failed=0
binfmt=$(mktemp -d)
log=$(mktemp)
trap 'rm -rf "$binfmt" "$log"' EXIT

i386='magic 7f454c4601010100000000000000000002000300'
arm='magic 7f454c4601010100000000000000000002002800'
# status, entry state, interpreter, magic, expected
while IFS='|' read -r status state interpreter magic expected; do
  rm -f "$binfmt"/*
  echo "$status" >"$binfmt/status"
  printf '%s\ninterpreter %s\nflags: F\noffset 0\n%s\n' "$state" "$interpreter" "$magic" >"$binfmt/entry"
  got=no
  do_emulated && got=yes
  [ "$got" = "$expected" ] || { echo "FAIL: emulated with $status, $state $interpreter $magic: got $got"; failed=$((failed + 1)); }
done <<EOT
enabled|enabled|/usr/bin/qemu-i386-static|$i386|yes
enabled|enabled|/work/build/qemu/root/usr/bin/qemu-i386|$i386|yes
enabled|disabled|/usr/bin/qemu-i386-static|$i386|no
disabled|enabled|/usr/bin/qemu-i386-static|$i386|no
enabled|enabled|/usr/bin/qemu-arm-static|$arm|no
EOT

# log line, expected (fault or ours)
while IFS='|' read -r line expected; do
  printf 'starting\n%s\n' "$line" >"$log"
  got=ours
  do_fault "$log" >/dev/null && got=fault
  [ "$got" = "$expected" ] || { echo "FAIL: fault in '$line': got $got"; failed=$((failed + 1)); }
done <<'EOT'
0024:err:seh:segv_handler Got unexpected trap -1|fault
qemu: uncaught target signal 11 (Segmentation fault) - core dumped|fault
0030:err:service:process_send_start_message service L"PlugPlay" failed to start|fault
unhandled exception 0xc000001d at 0040123A|ours
unhandled exception 0xc0000005 at 7BC57F86|ours
ran out of its 300 s|ours
offerclick: no dialog "Offer" appeared within 60 s|ours
EOT
[ "$failed" -eq 0 ] && echo "all qemu-i386 decisions as expected"
[ "$failed" -eq 0 ]
