#!/usr/bin/env bash
# Configures (once) and builds into build/; incremental afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build/CMakeCache.txt ]; then
    launcher=()
    # A compiler cache, where the machine has one, makes rebuilds of a fresh checkout quick.
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
fi
cmake --build build -j "$(nproc)" "$@"
