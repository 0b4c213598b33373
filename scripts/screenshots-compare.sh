#!/usr/bin/env bash
# Pictures of the compare window (two scans overlaid, and the spectra) on a virtual display:
# OUTDIR/compare.png and OUTDIR/compare-spectrum.png. Needs the build (test_desktop) and xvfb-run.
set -euo pipefail
out="${1:?usage: screenshots-compare.sh OUTDIR}"
bash "$(dirname "$0")/screenshot-tests.sh" "$out" 'CompareDialog.DISABLED_*' 'compare*.png'
