#!/usr/bin/env bash
# Builds the Windows installer build-win/QM7100-Workdesk-Setup-<version>.exe with Debian's
# makensis from the Windows build (scripts/build-qt-windows.sh, scripts/build-windows.sh first),
# then proves it under Wine in a scratch prefix: a silent install, the installed program
# started from its folder against the simulator through COM1 (it finds its plugins there and
# writes setup.ini beside itself, or under %APPDATA% when the folder is not writable), then a
# silent uninstall that leaves none of the program's files behind.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS
bash scripts/deps.sh nsis xvfb xauth
[ -x build/bin/qm7100-sim ] || bash scripts/build.sh --target qm7100-sim

stage=build-win/stage
bash scripts/stage-windows.sh "$stage"
# The uninstaller's list: every staged file, then the folders from the deepest up.
files=build-win/stage-files.nsh
(
    cd "$stage"
    find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|  Delete "$INSTDIR\\&"|'
    find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|  RMDir "$INSTDIR\\&"|'
) >"$files"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-win/CMakeCache.txt)
makensis -V2 -DSTAGE="$PWD/$stage" -DFILES="$PWD/$files" -DVERSION="$version" \
    -DOUTDIR="$PWD/build-win" packaging/windows/qm7100-workdesk.nsi
setup=build-win/QM7100-Workdesk-Setup-$version.exe
echo "built $setup ($(du -h "$setup" | cut -f1), $(grep -c Delete "$files") files)"

work=$(mktemp -d)
source scripts/wine-com1.sh
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH
folder="$WINEPREFIX/drive_c/Program Files/QM7100 Workdesk"
cleanup() {
    stop_sim
    [ -d "$folder" ] && chattr -i "$folder" 2>/dev/null
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
wineboot -i >/dev/null 2>&1

failed=0
check() { # $1: what, then a test command
    local what=$1
    shift
    if "$@"; then echo "PASS $what"; else echo "FAIL $what"; failed=1; fi
}

wine "$setup" /S
wineserver -w
check "silent install into C:\\Program Files\\QM7100 Workdesk" \
    test -f "$folder/qm7100-workdesk.exe" -a -f "$folder/platforms/qwindows.dll" -a -f "$folder/uninstall.exe"
check "Start-menu entry" \
    test -f "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/QM7100 Workdesk.lnk"
for ext in .f71 .f71CH; do
    check "$ext opens with the program" bash -c \
        "wine reg query 'HKLM\\Software\\Classes\\$ext' /ve 2>/dev/null | grep -q QM7100Workdesk"
done

# The installed program, started from its folder with nothing of the build in reach: it
# connects to the simulator through COM1 (the connection dialog writes setup.ini), uploads
# and takes the Chinese main window.
run_installed() { # $1: picture folder
    sim_on_com1 --model 7100T2 --count 2
    mkdir -p "$1"
    LANG=zh_CN.UTF-8 QM_SCREENSHOT_DIR="Z:${1//\//\\}" QM_SCREENSHOT_SET=zh timeout 180 \
        xvfb-run -a -s "-screen 0 1400x900x24" wine "$folder/qm7100-workdesk.exe" \
        >"$work/run.log" 2>&1 || true
    wineserver -w
    stop_sim
}
run_installed "$work/shots"
check "the installed program finds its plugins and draws its window" test -s "$work/shots/main-zh.png"
check "setup.ini beside the program in a writable folder" \
    grep -q 'Port=1' "$folder/setup.ini"
appdata="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/qm7100-workdesk/setup.ini"
rm -f "$folder/setup.ini"
if chattr +i "$folder" 2>/dev/null; then
    run_installed "$work/shots-appdata"
    chattr -i "$folder"
    check "setup.ini under %APPDATA% when the program's folder is not writable" \
        grep -q 'Port=1' "$appdata"
    check "nothing written beside the program then" test ! -e "$folder/setup.ini"
else
    echo "SKIP setup.ini under %APPDATA%: chattr cannot make the folder unwritable here"
fi

# A file of the user's own in the folder stays; everything the installer put there goes.
echo "mine" >"$folder/my-notes.txt"
wine "$folder/uninstall.exe" /S
wineserver -w
# The uninstaller copies itself to a temporary folder and removes the original from there.
for _ in $(seq 30); do [ -e "$folder/uninstall.exe" ] || break; sleep 1; done
left=$(cd "$folder" && find . -mindepth 1 | grep -vx './my-notes.txt' || true)
check "silent uninstall leaves none of the program's files" test -z "$left"
check "silent uninstall keeps the user's own file" test -f "$folder/my-notes.txt"
check "the file types are released" bash -c \
    "! wine reg query 'HKLM\\Software\\Classes\\.f71' >/dev/null 2>&1"
[ -n "$left" ] && echo "left behind: $left"
echo "installer-windows.sh took $((SECONDS - start)) s"
exit $failed
