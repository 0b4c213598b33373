#!/usr/bin/env bash
# Pictures of the compare window (two scans overlaid, and the spectra) on a virtual display:
# OUTDIR/compare.png and OUTDIR/compare-spectrum.png. Needs the build (test_desktop) and xvfb-run.
set -euo pipefail
out="${1:?usage: screenshots-compare.sh OUTDIR}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QM_BUILD_DIR:-$root/build}"
test_bin="$build/tests/test_desktop"
[ -x "$test_bin" ] || cmake --build "$build" -j2 --target test_desktop
mkdir -p "$out"
out="$(cd "$out" && pwd)"
QM_SCREENSHOT_DIR="$out" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1600x1000x24" \
    "$test_bin" --gtest_also_run_disabled_tests --gtest_filter='CompareDialog.DISABLED_*'
ls "$out"/compare*.png
