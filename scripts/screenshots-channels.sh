#!/bin/sh
# Pictures of the channel editor: writes channel-editor.png, channel-editor-combo.png,
# channel-editor-edit.png and channel-editor-zh.png into OUTDIR, from a kind 1 plan of 40
# channels read from the simulator, under a virtual X server.
set -eu
OUT=${1:?usage: screenshots-channels.sh OUTDIR}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${QM_BUILD_DIR:-$ROOT/build}
mkdir -p "$OUT"
OUT=$(cd "$OUT" && pwd)
cmake --build "$BUILD" -j2 --target test_desktop qm7100-sim >/dev/null
QM_TEST_KEEP_PLATFORM=1 QT_QPA_PLATFORM=xcb QM_SCREENSHOT_DIR="$OUT" \
    xvfb-run -a -s "-screen 0 1440x900x24" \
    "$BUILD/tests/test_desktop" --gtest_also_run_disabled_tests \
    --gtest_filter='ChannelEditorScreenshots.*'
ls "$OUT"/channel-editor*.png
