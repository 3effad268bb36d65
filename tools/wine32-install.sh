#!/usr/bin/env bash
# Installs 32-bit Wine (wine32:i386) when it is missing; needs root for that.
# Fails with the reason on the last line of its output when it cannot.
set -u
[ -x /usr/lib/wine/wine ] && exit 0
[ "$(id -u)" = 0 ] || { echo "not root"; exit 1; }
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386 || exit 1
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq && apt-get install -y -qq --no-install-recommends wine32:i386 </dev/null
