#!/usr/bin/env bash
# Shows the consent dialog for a parameter file (default examples/offer.txt)
# through the console host. With a display it opens a real window and waits
# for your answer; without one it runs under Xvfb, saves build/demo/dialog.png,
# answers (--answer yes|no|close, default close) and prints the result code.
# --dpi N (120, 144, 192, ...) runs it in a Wine prefix of its own whose
# screen has N dots per inch (build/wine-prefix-dpiN); the picture is then
# build/demo/dialog-Ndpi.png.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
answer=close
dpi=
params=$root/examples/offer.txt
while [ $# -gt 0 ]; do
  case $1 in
    --answer) answer=$2; shift 2 ;;
    --dpi) dpi=$2; shift 2 ;;
    *) params=$(cd "$(dirname "$1")" && pwd)/$(basename "$1"); shift ;;
  esac
done
cd "$root"
tools/deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target MirelDialog mirelhost >/dev/null

if [ -n "$dpi" ]; then
  export MIREL_WINEPREFIX=$root/build/wine-prefix-dpi$dpi MIREL_WINE_DPI=$dpi
fi
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
shot=build/demo/dialog${dpi:+-${dpi}dpi}
rm -f "$shot.bmp"
# A screen large enough for the dialog at 200 %: the picture is copied from it.
set +e
xvfb-run -a -s "-screen 0 2048x1536x24" timeout -k 5 120 \
  "$MIREL_WINE64" "$host" --answer "$answer" --screenshot "$shot.bmp" "$params"
code=$?
set -e
if [ -f "$shot.bmp" ]; then
  convert "$shot.bmp" -alpha off "$shot.png"
  echo "screenshot: $shot.png"
fi
echo "result code: $code"
