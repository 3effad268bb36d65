#!/usr/bin/env bash
# Installs 32-bit Wine (wine32:i386) when it is missing; needs root for that.
# Exit 0: installed (or already there). Exit 2: the package archive cannot be
# reached, a reason to skip the 32-bit stage. Exit 1: any other failure. The
# reason is on the last line of the output.
#
# A mirror that is mid-sync can serve a bookworm-security i386 index that does
# not match its signed size; apt then ignores it, i386 packages come only from
# the release suite while the amd64 libraries already installed may come from
# the security suite, and Multi-Arch "same" pairs cannot agree on a version.
# For that failure alone, and for this one install, the release suite is
# preferred (a preferences file of our own, nothing written under /etc), and
# only amd64 partners of the i386 libraries being installed may go back to
# the release version. Every index used is still verified by apt.
set -u

stale_index='/debian-security/dists/bookworm-security/main/binary-i386/Packages'
network_failure='Could not resolve|Temporary failure resolving|Unable to connect|Could not connect|Connection failed|Connection timed out|Network is unreachable|No route to host'

# Reads apt-get update's output; prints "stale" when the only failure is the
# i386 security index not matching its signed size or hash, "offline" when
# every failure is a network one, "other" otherwise.
update_failure_kind() {
  local problems
  problems=$(grep -E '^(E: |W: Failed to fetch )' |
    grep -v -x -F 'E: Some index files failed to download. They have been ignored, or old ones used instead.')
  if [ -z "$problems" ]; then
    echo other
  elif ! grep -q -v -F "$stale_index" <<<"$problems" &&
    ! grep -q -v -E 'File has unexpected size|Hash Sum mismatch' <<<"$problems"; then
    echo stale
  elif ! grep -q -v -E "$network_failure" <<<"$problems"; then
    echo offline
  else
    echo other
  fi
}

# Reads a simulated install (apt-get -s); prints "name:arch old new" for every
# package it would move to a lower version.
downgrades_in() {
  local re='^Inst ([^ :]+)(:[a-z0-9]+)? \[([^]]+)\] \(([^ ]+) .*\[([a-z0-9]+)\]\)'
  local line
  while IFS= read -r line; do
    [[ $line =~ $re ]] || continue
    dpkg --compare-versions "${BASH_REMATCH[4]}" lt "${BASH_REMATCH[3]}" &&
      echo "${BASH_REMATCH[1]}:${BASH_REMATCH[5]} ${BASH_REMATCH[3]} ${BASH_REMATCH[4]}"
  done
  return 0
}

# simulation file, "name:arch old new": true when the package is Multi-Arch
# "same" and the simulation newly installs its i386 twin in the same version.
is_i386_partner() {
  local sim=$1 package=$2 new=$4 name=${2%%:*}
  [ "${package#*:}" = i386 ] && return 1
  grep -q -F "Inst $name:i386 ($new " "$sim" || return 1
  apt-cache show "$package=$new" 2>/dev/null | grep -q -x 'Multi-Arch: same'
}

# package: installs it for a stale i386 security index. A simulation that
# prefers the release suite even over newer installed versions shows what
# would be downgraded; anything but an i386 partner library refuses the
# install. The install itself prefers the release suite without downgrading
# anything (priority 990), except those partners (1001), and removes nothing.
install_from_release() {
  local package=$1 pin sim downgrades d code=0
  pin=$(mktemp -d) sim=$(mktemp)
  # --no-remove: apt may rather remove what it may not downgrade.
  local apt=(apt-get -o Dir::Etc::PreferencesParts="$pin" --no-install-recommends --no-remove)
  release_pin 1001 '*' >"$pin/release"
  if ! "${apt[@]}" -s --allow-downgrades install "$package" >"$sim" 2>&1; then
    tail -5 "$sim"
    code=1
  fi
  downgrades=$(downgrades_in <"$sim")
  while [ "$code" = 0 ] && read -r d; do
    [ -z "$d" ] && continue
    # shellcheck disable=SC2086
    is_i386_partner "$sim" $d && continue
    echo "refused: installing $package from the release suite would downgrade $d, which is no i386 partner"
    code=1
  done <<<"$downgrades"
  if [ "$code" = 0 ]; then
    release_pin 990 '*' >"$pin/release"
    [ -n "$downgrades" ] && release_pin 1001 "$(cut -d: -f1 <<<"$downgrades" | tr '\n' ' ')" >>"$pin/release"
    "${apt[@]}" install -y -qq --allow-downgrades "$package" </dev/null || code=1
  fi
  rm -rf "$pin" "$sim"
  [ "$code" = 0 ] || return 1
  local listed=nothing
  [ -n "$downgrades" ] && listed=$(awk '{printf "%s%s %s -> %s", (NR > 1 ? ", " : ""), $1, $2, $3}' <<<"$downgrades")
  echo "wine32-install: the mirror's bookworm-security i386 index failed to download, so $package came from the verified bookworm release suite; downgraded: $listed"
}

# priority, packages: one stanza of preferences for the release suite.
release_pin() {
  printf 'Package: %s\nPin: release o=Debian,n=bookworm\nPin-Priority: %s\n\n' "$2" "$1"
}

main() {
  [ -x /usr/lib/wine/wine ] && exit 0
  [ "$(id -u)" = 0 ] || { echo "not root: installing wine32:i386 needs root"; exit 1; }
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386 || exit 1
  export DEBIAN_FRONTEND=noninteractive
  local log
  log=$(mktemp)
  if apt-get update -qq >"$log" 2>&1; then
    rm -f "$log"
    apt-get install -y -qq --no-install-recommends wine32:i386 </dev/null || exit 1
    exit 0
  fi
  cat "$log"
  local kind
  kind=$(update_failure_kind <"$log")
  rm -f "$log"
  case $kind in
  stale) install_from_release wine32:i386 || exit 1 ;;
  offline)
    echo "the package archive cannot be reached, so wine32:i386 cannot be installed"
    exit 2
    ;;
  *)
    echo "apt-get update failed"
    exit 1
    ;;
  esac
}

[ "${BASH_SOURCE[0]}" = "$0" ] && main
