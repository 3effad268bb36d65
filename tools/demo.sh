#!/usr/bin/env bash
# Shows the consent dialog for a parameter file (default examples/offer.txt)
# through the console host. With a display it opens a real window and waits
# for your answer; without one it runs under Xvfb, saves build/demo/dialog.png,
# answers (--answer yes|no|close, default close) and prints the result code.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
answer=close
params=$root/examples/offer.txt
while [ $# -gt 0 ]; do
  case $1 in
    --answer) answer=$2; shift 2 ;;
    *) params=$(cd "$(dirname "$1")" && pwd)/$(basename "$1"); shift ;;
  esac
done
cd "$root"
tools/deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target MirelDialog mirelhost >/dev/null

. tools/wine-env.sh
mirel_wine_prefix
host=build/win64/mirelhost.exe
if [ -n "${DISPLAY:-}" ]; then
  set +e
  "$MIREL_WINE64" "$host" "$params"
  code=$?
  echo "result code: $code"
  exit 0
fi
mkdir -p build/demo
rm -f build/demo/dialog.bmp
set +e
xvfb-run -a -s "-screen 0 1024x768x24" timeout -k 5 120 \
  "$MIREL_WINE64" "$host" --answer "$answer" --screenshot build/demo/dialog.bmp "$params"
code=$?
set -e
if [ -f build/demo/dialog.bmp ]; then
  convert build/demo/dialog.bmp build/demo/dialog.png
  echo "screenshot: build/demo/dialog.png"
fi
echo "result code: $code"
