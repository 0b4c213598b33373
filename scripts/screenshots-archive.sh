#!/usr/bin/env bash
# Pictures of the Archive window with a site's level trend, and a MER trend chart, in English
# and Chinese on a virtual display: OUTDIR/archive*.png. Needs the build (test_desktop) and
# xvfb-run.
set -euo pipefail
out="${1:?usage: screenshots-archive.sh OUTDIR}"
bash "$(dirname "$0")/screenshot-tests.sh" "$out" 'ArchiveDesktop.DISABLED_*' 'archive*.png'
