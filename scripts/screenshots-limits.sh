#!/usr/bin/env bash
# Pictures of the limit verdicts on a virtual display: OUTDIR/pane-level-limits.png (failing
# cells marked), pane-scan-limits.png, pane-level-limits-zh.png, and report.png (the first
# page of the sample project's acceptance report). Needs the build, xvfb-run and pdftoppm.
set -euo pipefail
out="${1:?usage: screenshots-limits.sh OUTDIR}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QM_BUILD_DIR:-$root/build}"
test_bin="$build/tests/test_desktop"
[ -x "$test_bin" ] && [ -x "$build/bin/qm7100" ] || cmake --build "$build" -j2 --target test_desktop qm7100
mkdir -p "$out"
out="$(cd "$out" && pwd)"
QM_SCREENSHOT_DIR="$out" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1600x1000x24" \
    "$test_bin" --gtest_also_run_disabled_tests --gtest_filter='LimitsDesktop.DISABLED_*'
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
"$build/bin/qm7100" report "$root/samples/sample.f71" "$tmp/report.pdf"
pdftoppm -r 100 -png -f 1 -l 1 -singlefile "$tmp/report.pdf" "$out/report"
ls "$out"/pane-*-limits*.png "$out/report.png"
