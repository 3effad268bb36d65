#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when missing.
set -eu
packages="cmake ninja-build g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
  wine64 fonts-wine xvfb xauth imagemagick fonts-liberation googletest clang libclang-rt-14-dev nsis
  locales fonts-wqy-microhei"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
# npm fetches Inno Setup's compiler for the 32-bit tests; a Node.js of the
# machine's own may already bring it.
command -v npm >/dev/null || missing="$missing npm"
[ -z "$missing" ] && exit 0
echo "installing:$missing" >&2
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# No recommends: keeps 32-bit Wine out of the 64-bit test runs. fonts-wine,
# a recommendation of Wine, is listed itself: its Tahoma stands for
# "MS Shell Dlg", and its Marlett draws the title bar's buttons.
apt-get install -y -qq --no-install-recommends $missing </dev/null
