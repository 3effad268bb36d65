#!/usr/bin/env bash
# Prints the path of Inno Setup 6's compiler (ISCC.exe), fetched once into
# build/innosetup from the npm registry as the package innosetup-compiler at
# one exact version: npm pack only downloads the package (no install scripts
# run), and its checksum must be the one recorded here.
set -eu
version=6.3.1
sha256=dddd8f1f4ee10c65f88b41cef5f9dd88454e5b23795126264b1b529e2305f0bc
dir=$(cd "$(dirname "$0")/.." && pwd)/build/innosetup
iscc=$dir/package/bin/ISCC.exe
if [ ! -f "$iscc" ]; then
  command -v npm >/dev/null || { echo "npm is missing (tools/deps.sh installs it)" >&2; exit 1; }
  rm -rf "$dir"
  mkdir -p "$dir"
  tarball=$(cd "$dir" && npm pack --silent --ignore-scripts "innosetup-compiler@$version")
  echo "$sha256  $dir/$tarball" | sha256sum -c --quiet - >&2 ||
    { echo "innosetup-compiler $version does not match its recorded checksum" >&2; exit 1; }
  tar xzf "$dir/$tarball" -C "$dir"
fi
echo "$iscc"
