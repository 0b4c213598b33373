#!/usr/bin/env bash
# Pictures of the six analysis pane dialogs (sample file, English, two in Chinese) on a virtual
# display: OUTDIR/dialog-<section>.png. Needs the build (test_desktop) and xvfb-run.
set -euo pipefail
out="${1:?usage: screenshots-panes.sh OUTDIR}"
bash "$(dirname "$0")/screenshot-tests.sh" "$out" 'PaneScreenshots.DISABLED_*' 'dialog-*.png'
