#!/usr/bin/env bash
# Pictures of the Time/Unit and Picture Capture windows (the capture taken from the simulator):
# time-unit.png, time-unit-zh.png and capture.png in OUTDIR, drawn on an Xvfb display.
set -euo pipefail
out="${1:?usage: screenshots-setup.sh OUTDIR}"
cd "$(dirname "$0")/.."
mkdir -p "$out"
out="$(cd "$out" && pwd)"
bash scripts/build.sh --target test_desktop qm7100-sim >/dev/null
QM_TEST_PLATFORM=xcb QM_SCREENSHOT_DIR="$out" xvfb-run -a -s "-screen 0 1280x1024x24" \
    build/tests/test_desktop --gtest_also_run_disabled_tests \
    --gtest_filter='SetupScreenshots.*'
