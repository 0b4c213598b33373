#!/usr/bin/env bash
# Cross-builds the program for 64-bit Windows with MinGW-w64 into build-win/: with the Qt of
# scripts/build-qt-windows.sh (build-win/qt6/prefix) everything but the simulator, that is
# qm7100-workdesk.exe, qm7100.exe with chart and report, qm7100-samples.exe and the tests with
# the chart, report and desktop ones; without it only the core, qm7100.exe and
# qm7100-samples.exe. Installs MinGW and Wine first when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS
bash scripts/deps-windows.sh
qt=$PWD/build-win/qt6/prefix
if [ -f "$qt/.complete" ]; then
    # Qt's toolchain file loads ours after it and points find_package at the prefix.
    toolchain=$qt/lib/cmake/Qt6/qt.toolchain.cmake
    options=(-DQM_WITH_QT=ON -DQM_STATIC_RUNTIME=OFF)
else
    echo "No Qt for Windows in $qt (scripts/build-qt-windows.sh builds it): building without" \
        "the desktop program, chart and report"
    toolchain=$PWD/cmake/mingw-w64-x86_64.cmake
    options=(-DQM_WITH_QT=OFF)
fi
# A build folder made with the other toolchain starts afresh.
fresh=()
if [ -f build-win/CMakeCache.txt ] &&
    ! grep -qxF "CMAKE_TOOLCHAIN_FILE:FILEPATH=$toolchain" build-win/CMakeCache.txt; then
    fresh=(--fresh)
fi
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake "${fresh[@]}" -S . -B build-win --toolchain "$toolchain" -DCMAKE_BUILD_TYPE=Release \
    "${options[@]}" -DQM_BUILD_BENCH=OFF -DQM_GTEST_SOURCE_DIR=/usr/src/googletest \
    "${launcher[@]}" >/dev/null
cmake --build build-win -j2
echo "Windows build: $(cd build-win && ls bin/*.exe tests/*.exe | tr '\n' ' ')"
echo "Windows build took $((SECONDS - start)) s"
