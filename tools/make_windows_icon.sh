#!/bin/sh
# Renders the drawn application icon at 16, 32, 48 and 256 px and packs it into
# packaging/windows/tessaro.ico (icoutils' icotool; the 256 px one as PNG, the
# others as classic bitmaps). Run after changing src/ui/app_icon.cpp; the GUI
# test AppIcon.WindowsIconIsTheDrawnIcon says when it is due.
#   make_windows_icon.sh [BUILD_DIR]   (a configured Linux build, default build)
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
command -v icotool >/dev/null || { echo "icotool missing (Debian package icoutils)" >&2; exit 1; }
cmake --build "$build" --target app_icon_png
tool=$(find "$build" -name app_icon_png -type f -perm -u+x | head -n 1)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in 16 32 48 256; do
    "$tool" "$size" "$work/$size.png"
done
icotool -c -o "$here/packaging/windows/tessaro.ico" \
    "$work/16.png" "$work/32.png" "$work/48.png" -r "$work/256.png"
echo "wrote packaging/windows/tessaro.ico"
