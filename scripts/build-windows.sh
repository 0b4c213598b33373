#!/usr/bin/env bash
# Cross-builds the core libraries, qm7100.exe, qm7100-samples.exe and the core's tests for
# 64-bit Windows with MinGW-w64 into build-win/ (no Qt: the chart and the desktop program need
# Qt for Windows, see the README). Installs MinGW and Wine first when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps-windows.sh
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-win --toolchain cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DQM_WITH_QT=OFF -DQM_BUILD_BENCH=OFF -DQM_GTEST_SOURCE_DIR=/usr/src/googletest \
    "${launcher[@]}" >/dev/null
cmake --build build-win -j2
echo "Windows build: $(ls build-win/bin/*.exe build-win/tests/*.exe | tr '\n' ' ')"
