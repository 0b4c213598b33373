#!/usr/bin/env bash
# Pictures of the six analysis pane dialogs (sample file, English, two in Chinese) on a virtual
# display: OUTDIR/dialog-<section>.png. Needs the build (test_desktop) and xvfb-run.
set -euo pipefail
out="${1:?usage: screenshots-panes.sh OUTDIR}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QM_BUILD_DIR:-$root/build}"
test_bin="$build/tests/test_desktop"
[ -x "$test_bin" ] || cmake --build "$build" -j2 --target test_desktop
mkdir -p "$out"
out="$(cd "$out" && pwd)"
QM_SCREENSHOT_DIR="$out" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1600x1000x24" \
    "$test_bin" --gtest_also_run_disabled_tests --gtest_filter='PaneScreenshots.DISABLED_*'
ls "$out"/dialog-*.png
