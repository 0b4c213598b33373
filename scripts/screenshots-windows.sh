#!/usr/bin/env bash
# Screenshots of the Windows desktop program under Wine on a virtual display, against the
# meter simulator through Wine's COM1:
#   bash scripts/screenshots-windows.sh OUTDIR
# The program runs from a staged folder (scripts/stage-windows.sh), as it is installed, and
# drives itself through its windows (QM_SCREENSHOT_DIR): the connection dialog, the main window
# after an upload, every pane with its chart, the looks, the channel editor with a plan read
# from the meter, the About box, and in Chinese the main window (main-zh.png).
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:?usage: scripts/screenshots-windows.sh OUTDIR}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
[ -x build/bin/qm7100-sim ] || { echo "build qm7100-sim first (scripts/build.sh)" >&2; exit 1; }
bash scripts/deps.sh xvfb xauth fonts-wqy-microhei

work=$(mktemp -d)
source scripts/wine-com1.sh
export WINEPREFIX="$PWD/build-win/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH
cleanup() {
    stop_sim
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
bash scripts/stage-windows.sh "$work/app" >/dev/null
wineboot -i >/dev/null 2>&1

shoot() { # $1: LANG, $2: screenshot set
    sim_on_com1 --model 7100T2 --count 3
    printf '[Connect Information]\r\nPort=1\r\nBaud=115200\r\n' >"$work/app/setup.ini"
    LANG="$1" LC_ALL="$1" QM_SCREENSHOT_DIR="Z:${out//\//\\}" QM_SCREENSHOT_SET="$2" timeout 300 \
        xvfb-run -a -s "-screen 0 1400x900x24" wine "$work/app/qm7100-workdesk.exe" \
        >"$work/run.log" 2>&1 || { echo "the program ended badly ($1):"; cat "$work/run.log"; }
    wineserver -w
    stop_sim
}

shoot en_US.UTF-8 all
shoot zh_CN.UTF-8 zh
missing=0
for picture in main.png pane-spectrum.png channel-editor.png main-zh.png; do
    [ -s "$out/$picture" ] || { echo "no $picture" >&2; missing=1; }
done
echo "screenshots in $out: $(cd "$out" && ls | tr '\n' ' ')"
exit $missing
