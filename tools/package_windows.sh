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
# The tools the build was made with, as CMake found them for it.
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
cxx=$(sed -n 's/^set(CMAKE_CXX_COMPILER "\(.*\)")$/\1/p' "$build"/CMakeFiles/*/CMakeCXXCompiler.cmake | head -n 1)
strip=$(cached CMAKE_STRIP)
objdump=$(cached CMAKE_OBJDUMP)

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
find "$stage" -name '*.exe' -o -name '*.dll' | xargs "$strip" --strip-unneeded

# Every DLL a shipped file imports is shipped too or is part of Windows (the
# set Wine carries), so the folder runs on its own.
wine_dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
missing=""
for f in $(find "$stage" -name '*.exe' -o -name '*.dll'); do
    for dll in $("$objdump" -p "$f" | sed -n 's/^\tDLL Name: //p'); do
        lower=$(echo "$dll" | tr 'A-Z' 'a-z')
        [ -f "$stage/$dll" ] && continue
        [ -f "$wine_dlls/$lower" ] && continue
        case $lower in api-ms-win-*) continue ;; esac
        missing="$missing $(basename "$f"):$dll"
    done
done
[ -z "$missing" ] || { echo "package: not shipped:$missing" >&2; exit 1; }

# The executable carries its icon (all four sizes), version information and
# manifest: Explorer, the taskbar and Windows' long-path and DPI handling need them.
exe=$stage/tessaro.exe
icons=$(wrestool -l --type=3 "$exe" | wc -l)
[ "$icons" -eq 4 ] || { echo "package: tessaro.exe holds $icons icon images, not 4" >&2; exit 1; }
wrestool -l --type=14 "$exe" | grep -q . || { echo "package: tessaro.exe has no icon" >&2; exit 1; }
# UTF-16 strings of plain ASCII: with the zero bytes dropped they read as ASCII.
wrestool -x --raw --type=16 "$exe" | tr -d '\000' >"$build/version.txt"
projectVersion=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
for text in "CompanyNameVelt" "FileDescriptionVelt - Tessaro" "LegalCopyrightCopyright (C) 2026 Velt" \
    "ProductNameTessaro" "FileVersion$projectVersion"; do
    grep -aqF "$text" "$build/version.txt" ||
        { echo "package: no \"$text\" in the version information" >&2; exit 1; }
done
manifest=$(wrestool -x --raw --type=24 "$exe")
for text in '<longPathAware' 'PerMonitorV2' '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}'; do
    case $manifest in *"$text"*) ;; *) echo "package: no $text in the manifest" >&2; exit 1 ;; esac
done

# Signed before it is packed, so the zip and the installer carry the signed one.
sh "$src/tools/sign_windows.sh" "$exe"

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
sh "$src/tools/sign_windows.sh" "$msi"
