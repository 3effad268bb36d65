#!/usr/bin/env bash
# 32-bit Linux programs (32-bit Wine) where the kernel runs none: qemu-user
# registered with binfmt_misc for i386 programs, and what Wine needs under it.
#
#   qemu-i386.sh register      registers qemu-user unless 32-bit Wine already runs
#                              (natively or through a registration that is there);
#                              prints "registered" when it made the registration
#   qemu-i386.sh unregister    removes that registration
#   qemu-i386.sh emulated      exit 0 when 32-bit programs run under qemu-user here
#   qemu-i386.sh traps         prints the library that 32-bit Wine preloads under
#                              qemu-user (tools/wine32-traps.c), built when missing
#   qemu-i386.sh fault LOG     prints the first message of LOG that shows emulated
#                              Wine itself failing; exit 1 when there is none
#
# qemu-user comes from the Debian release's backports (fetched into
# build/qemu, nothing installed): bookworm's qemu 7.2 searches the guest's
# address space page by page at every mmap, which with Wine's reservations
# took most of a minute per process and 23 minutes for a 32-bit prefix;
# qemu 10 makes the same prefix in half a minute.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$root/build/qemu
binfmt=/proc/sys/fs/binfmt_misc
name=qemu-i386
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
wine32=/usr/lib/wine/wine

# Fetches qemu-user from the backports of the suite the machine's own
# sources serve, with a sources list and package lists of its own.
fetch_qemu() {
  local qemu=$dir/root/usr/bin/qemu-i386
  [ -x "$qemu" ] && { echo "$qemu"; return 0; }
  local uri suite apt
  read -r uri suite < <(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 'Component: main' |
    awk '$2 !~ /-/ {print; exit}')
  [ -n "${suite:-}" ] || { echo "no Debian release among the machine's package sources" >&2; return 1; }
  mkdir -p "$dir/sources" "$dir/lists/partial" "$dir/cache/archives/partial" "$dir/download"
  printf 'Types: deb\nURIs: %s\nSuites: %s-backports\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "$uri" "$suite" >"$dir/sources/backports.sources"
  apt=(apt-get -qq -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$dir/sources"
    -o Dir::State::Lists="$dir/lists" -o Dir::Cache="$dir/cache" -o APT::Architectures::=amd64
    -o APT::Sandbox::User=root)
  "${apt[@]}" update || return 1
  rm -f "$dir"/download/*.deb
  (cd "$dir/download" && "${apt[@]}" download "qemu-user/$suite-backports") || return 1
  mkdir -p "$dir/root"
  # The one emulator of the package's forty (370 MB unpacked).
  dpkg-deb --fsys-tarfile "$dir"/download/qemu-user_*.deb | tar -x -C "$dir/root" ./usr/bin/qemu-i386 || return 1
  rm -f "$dir"/download/*.deb
  [ -x "$qemu" ] || { echo "the qemu-user package holds no qemu-i386" >&2; return 1; }
  echo "$qemu"
}

do_register() {
  local code=0 qemu
  "$wine32" --version >/dev/null 2>&1 || code=$?
  [ "$code" -eq 0 ] && return 0
  [ "$code" -eq 126 ] || { echo "32-bit Wine does not start (exit $code)" >&2; return 1; }
  [ "$(id -u)" = 0 ] || { echo "not root: registering qemu-user needs root" >&2; return 1; }
  qemu=$(fetch_qemu) || return 1
  mountpoint -q "$binfmt" || mount -t binfmt_misc binfmt_misc "$binfmt" || return 1
  # F: the kernel opens qemu now, so it also serves programs in other mount namespaces.
  printf ':%s:M::%s:%s:%s:F' "$name" "$magic" "$mask" "$qemu" >"$binfmt/register" || return 1
  "$wine32" --version >/dev/null || { echo "32-bit Wine does not start under qemu-user" >&2; return 1; }
  echo registered
}

# Whether an enabled binfmt_misc entry hands i386 programs to qemu; one that
# is registered is tried before the kernel's own 32-bit support.
do_emulated() {
  local entry
  [ -f "$binfmt/status" ] && grep -qx enabled "$binfmt/status" || return 1
  for entry in "$binfmt"/*; do
    case ${entry##*/} in register | status) continue ;; esac
    grep -qx enabled "$entry" 2>/dev/null && grep -q '^interpreter .*qemu-i386' "$entry" &&
      grep -qx 'magic 7f454c4601010100000000000000000002000300' "$entry" && return 0
  done
  return 1
}

do_traps() {
  local library=$dir/wine32-traps.so
  [ -f "$library" ] && [ "$library" -nt "$root/tools/wine32-traps.c" ] && { echo "$library"; return 0; }
  mkdir -p "$dir"
  (
    flock 9
    [ -f "$library" ] && [ "$library" -nt "$root/tools/wine32-traps.c" ] && exit 0
    clang --target=i386-linux-gnu -shared -nostdlib -fPIC -O2 -Wall -Wextra \
      "$root/tools/wine32-traps.c" /lib/i386-linux-gnu/libc.so.6 -o "$library.new" &&
      mv "$library.new" "$library"
  ) 9>"$dir/traps.lock" || return 1
  echo "$library"
}

# Wine's own words for a failure of the emulation: a trap it cannot place, a
# service that died, qemu giving up.
do_fault() {
  grep -m1 -E 'Got unexpected trap|err:service|^qemu: |qemu: uncaught target signal' "$1"
}

main() {
  case ${1:-} in
  register) do_register ;;
  unregister) [ -e "$binfmt/$name" ] && echo -1 >"$binfmt/$name" ;;
  emulated) do_emulated ;;
  traps) do_traps ;;
  fault) do_fault "$2" ;;
  *)
    echo "usage: $0 register|unregister|emulated|traps|fault LOG" >&2
    exit 2
    ;;
  esac
}

[ "${BASH_SOURCE[0]}" = "$0" ] && main "$@"
