#!/usr/bin/env bash
# tools/wine32-install.sh's decisions, with apt's output given and apt-get and
# apt-cache stood in for: which update failures take the release-suite path,
# which downgrades that path accepts, and what it reports.
set -u
. "$(dirname "$0")/../../tools/wine32-install.sh"
failed=0
expect() { # what, got, expected
  [ "$2" = "$3" ] && return
  echo "FAIL: $1: got '$2', expected '$3'"
  failed=$((failed + 1))
}

stale='E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 203.0.113.80 80]'
summary='E: Some index files failed to download. They have been ignored, or old ones used instead.'
amd64='E: Failed to fetch http://deb.debian.org/debian/dists/bookworm/main/binary-amd64/Packages.xz  Hash Sum mismatch'
unsigned="E: The repository 'http://deb.debian.org/debian-security bookworm-security InRelease' is not signed."
offline="W: Failed to fetch http://deb.debian.org/debian/dists/bookworm/InRelease  Could not resolve 'deb.debian.org'"
while IFS='|' read -r kind output; do
  expect "update failure: $output" "$(printf '%b\n' "$output" | update_failure_kind)" "$kind"
done <<EOT
stale|$stale\n   Hashes of expected file:\n$summary
other|$stale\n$amd64\n$summary
other|$stale\n$unsigned
other|${stale%%  File*}  404  Not Found\n$summary
offline|$offline\n${offline/bookworm\//bookworm-updates/}\n$summary
other|$offline\n$stale
other|E: Could not get lock /var/lib/apt/lists/lock.
EOT

# A simulated install: one new i386 library, its amd64 partner going back to
# the same version, an upgrade, and a downgrade of a package with no twin.
simulated=$(mktemp)
trap 'rm -f "$simulated"' EXIT
cat >"$simulated" <<'EOT'
Inst libfoo1 [1.2-3+deb12u7] (1.2-3+deb12u6 Debian:12.15/oldstable [amd64])
Inst libfoo1:i386 (1.2-3+deb12u6 Debian:12.15/oldstable [i386])
Inst libbar2 [2.0-1] (2.0-1+b2 Debian:12.15/oldstable [amd64]) [e2fsprogs:amd64 ]
Inst baz [3.1] (3.0 Debian:12.15/oldstable [amd64])
Conf libfoo1 (1.2-3+deb12u6 Debian:12.15/oldstable [amd64])
EOT
expect "downgrades" "$(downgrades_in <"$simulated" | tr '\n' ';')" "libfoo1:amd64 1.2-3+deb12u7 1.2-3+deb12u6;baz:amd64 3.1 3.0;"
apt-cache() { [ "$2" != baz:amd64=3.0 ] && echo 'Multi-Arch: same'; }
partners=""
for d in "libfoo1:amd64 1.2-3+deb12u7 1.2-3+deb12u6" "libfoo1:amd64 1.2-3+deb12u7 1.2-3+deb12u5" \
  "baz:amd64 3.1 3.0" "libfoo1:i386 1.2-3+deb12u7 1.2-3+deb12u6"; do
  # shellcheck disable=SC2086
  is_i386_partner "$simulated" $d && partners="$partners${d%% *};"
done
expect "i386 partners" "$partners" "libfoo1:amd64;"

# The whole path, with apt-get answering from the simulation above, first
# without the downgrade that has no twin, then with it.
apt-get() {
  case " $* " in
  *" -s "*) grep -v "$leave_out" "$simulated" ;;
  *" install "*)
    echo "installed $*"
    cat "${2#Dir::Etc::PreferencesParts=}"/*
    ;;
  esac
}
leave_out='^Inst baz'
report=$(install_from_release wine32:i386)
expect "report" "$(tail -1 <<<"$report")" "wine32-install: the mirror's bookworm-security i386 index failed to download, so wine32:i386 came from the verified bookworm release suite; downgraded: libfoo1:amd64 1.2-3+deb12u7 -> 1.2-3+deb12u6"
expect "the install" "$(grep -c -E '^installed -o Dir::Etc::PreferencesParts=/.* --no-remove install .*--allow-downgrades wine32:i386' <<<"$report")" 1
expect "what may go down" "$(grep -B2 'Pin-Priority: 1001' <<<"$report" | tr '\n' ';')" "Package: libfoo1 ;Pin: release o=Debian,n=bookworm;Pin-Priority: 1001;"
expect "what may not" "$(grep -B2 'Pin-Priority: 990' <<<"$report" | head -1)" "Package: *"
leave_out='^$'
report=$(install_from_release wine32:i386)
expect "refusal exit" "$?" 1
expect "refusal, and no install" "$(grep -c -x 'refused: .* downgrade baz:amd64 3.1 3.0, which is no i386 partner' <<<"$report")$(grep -c installed <<<"$report")" 10

[ "$failed" -eq 0 ] && echo "all wine32-install decisions as expected"
[ "$failed" -eq 0 ]
