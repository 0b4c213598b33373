#!/usr/bin/env bash
# Runs the disabled screenshot tests matching FILTER on a virtual display, writing into OUTDIR,
# and lists the pictures matching GLOB there. Needs the build (test_desktop) and xvfb-run.
#   screenshot-tests.sh OUTDIR FILTER GLOB
set -euo pipefail
out="$1" filter="$2" glob="$3"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QM_BUILD_DIR:-$root/build}"
test_bin="$build/tests/test_desktop"
[ -x "$test_bin" ] || cmake --build "$build" -j2 --target test_desktop
mkdir -p "$out"
out="$(cd "$out" && pwd)"
QM_SCREENSHOT_DIR="$out" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1600x1000x24" \
    "$test_bin" --gtest_also_run_disabled_tests --gtest_filter="$filter"
ls "$out"/$glob
