#!/usr/bin/env bash
# Gathers the Windows programs of build-win/ with what they need to run into one folder, as
# Qt's deployment tool would (it is not built for a cross build):
#   bash scripts/stage-windows.sh STAGE
# The programs, Qt's plugins for a widget program (the windows platform, the Vista style, the
# GIF, ICO and SVG image formats, the SVG icon engine), and every DLL that one of them imports
# from the Qt prefix or the compiler's runtime, followed import by import.
set -euo pipefail
cd "$(dirname "$0")/.."
stage=${1:?usage: scripts/stage-windows.sh STAGE}
qt=build-win/qt6/prefix
runtime=/usr/lib/gcc/x86_64-w64-mingw32/12-posix
threads=/usr/x86_64-w64-mingw32/lib
[ -f "$qt/.complete" ] && [ -f build-win/bin/qm7100-workdesk.exe ] ||
    { echo "build Qt and the program first (scripts/build-qt-windows.sh, scripts/build-windows.sh)" >&2; exit 1; }

rm -rf "$stage"
mkdir -p "$stage"
cp build-win/bin/qm7100-workdesk.exe build-win/bin/qm7100.exe build-win/bin/qm7100-samples.exe "$stage/"
plugins=(platforms/qwindows.dll styles/qwindowsvistastyle.dll imageformats/qgif.dll
         imageformats/qico.dll)
# Qt SVG's plugins when the Qt has it (the program then draws its icons from SVG).
[ -f "$qt/bin/Qt6Svg.dll" ] && plugins+=(imageformats/qsvg.dll iconengines/qsvgicon.dll)
for plugin in "${plugins[@]}"; do
    [ -f "$qt/plugins/$plugin" ] || { echo "Qt has no $plugin" >&2; exit 1; }
    mkdir -p "$stage/$(dirname "$plugin")"
    cp "$qt/plugins/$plugin" "$stage/$plugin"
done

# Qt's own Chinese texts (buttons, file dialogs), loaded from translations/ beside the program
# under the Chinese base: the prefix's when it has them, else Debian's of the same Qt 6.
for qm in "$qt/translations/qtbase_zh_CN.qm" /usr/share/qt6/translations/qtbase_zh_CN.qm; do
    if [ -f "$qm" ]; then
        mkdir -p "$stage/translations"
        cp "$qm" "$stage/translations/"
        break
    fi
done

# The DLLs a PE file imports by name; Windows' own are not found in our folders and stay.
imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'; }
queue=("$stage"/*.exe)
for plugin in "${plugins[@]}"; do queue+=("$stage/$plugin"); done
while [ ${#queue[@]} -gt 0 ]; do
    file=${queue[0]}
    queue=("${queue[@]:1}")
    for dll in $(imports "$file"); do
        [ -f "$stage/$dll" ] && continue
        for dir in "$qt/bin" "$runtime" "$threads"; do
            if [ -f "$dir/$dll" ]; then
                cp "$dir/$dll" "$stage/"
                queue+=("$stage/$dll")
                break
            fi
        done
    done
done
# Without their symbol tables and debugging sections, as Qt's deployment tool ships a MinGW
# build (the compiler's libstdc++ is 24 MB with them, 2 MB without).
find "$stage" -type f \( -name '*.dll' -o -name '*.exe' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
echo "staged $(find "$stage" -type f | wc -l) files ($(du -sh "$stage" | cut -f1)) in $stage"
