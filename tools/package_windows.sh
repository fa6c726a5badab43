#!/bin/sh
# make windows: packs the cross-built tessaro.exe with everything it needs to
# start from an unpacked folder alone into one zip, and the same folder into
# the installer tessaro-<version>-win64.msi beside the zip.
#   package_windows.sh BUILD_DIR QT_PREFIX ZIP
set -eu
build=$1
qt=$2
zip=$3
src=$(cd "$(dirname "$0")/.." && pwd)
stage=$build/tessaro-win64
cxx=x86_64-w64-mingw32-g++-posix

rm -rf "$stage"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/translations"
cp "$build/src/tessaro.exe" "$stage/"
for dll in Qt6Core Qt6Gui Qt6Widgets; do cp "$qt/bin/$dll.dll" "$stage/"; done
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
# Qt and the program share one MinGW runtime, so it ships as DLLs.
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
    path=$($cxx -print-file-name=$dll)
    [ -f "$path" ] || { echo "package: $dll not found beside $cxx" >&2; exit 1; }
    cp "$path" "$stage/"
done
cp /usr/share/qt6/translations/qtbase_de.qm "$stage/translations/"
cp "$src/packaging/windows/Settings.ini" "$src/packaging/windows/Bodypart.dat" \
    "$src/packaging/windows/LIESMICH.txt" "$stage/"

# Debug sections are of no use in the practice and make most of the size.
find "$stage" -name '*.exe' -o -name '*.dll' | xargs x86_64-w64-mingw32-strip --strip-unneeded

# Every DLL a shipped file imports is shipped too or is part of Windows (the
# set Wine carries), so the folder runs on its own.
wine_dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
missing=""
for f in $(find "$stage" -name '*.exe' -o -name '*.dll'); do
    for dll in $(x86_64-w64-mingw32-objdump -p "$f" | sed -n 's/^\tDLL Name: //p'); do
        lower=$(echo "$dll" | tr 'A-Z' 'a-z')
        [ -f "$stage/$dll" ] && continue
        [ -f "$wine_dlls/$lower" ] && continue
        case $lower in api-ms-win-*) continue ;; esac
        missing="$missing $(basename "$f"):$dll"
    done
done
[ -z "$missing" ] || { echo "package: not shipped:$missing" >&2; exit 1; }

rm -f "$zip"
mkdir -p "$(dirname "$zip")"
zip="$(cd "$(dirname "$zip")" && pwd)/$(basename "$zip")"
(cd "$build" && zip -qr -X "$zip" tessaro-win64)
echo "packed $zip"

# The version is the project's, as the configure step left it.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
msi=$(dirname "$zip")/tessaro-$version-win64.msi
rm -f "$(dirname "$zip")"/tessaro-*-win64.msi
sh "$src/tools/build_msi.sh" "$stage" "$version" "$msi"
