#!/usr/bin/env bash
# Runs the whole test suite built with AddressSanitizer and UndefinedBehaviorSanitizer
# (build-asan/), then the chart tests, and the desktop tests where they exist, built with
# ThreadSanitizer (build-tsan/). Every report of the programs the tests start counts too: the
# sanitizers write them to build-*/sanitizer-reports/. Ends non-zero on a failed test or any
# report. Not part of CI: it builds the program twice more.
#   scripts/sanitize.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
root=$PWD

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
configure() { # DIR SANITIZERS
    if [ ! -f "$1/CMakeCache.txt" ]; then
        cmake -S . -B "$1" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQM_BUILD_BENCH=OFF "${launcher[@]}" \
            -DCMAKE_CXX_FLAGS="-fsanitize=$2 -fno-sanitize-recover=all -fno-omit-frame-pointer" \
            -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=$2" >/dev/null
    fi
}
# Reports go to files, so that those of child processes (the simulator, the CLI) are not lost.
reports() { # DIR
    rm -rf "$1/sanitizer-reports"
    mkdir -p "$1/sanitizer-reports"
    echo "log_path=$root/$1/sanitizer-reports/report"
}
count_reports() { # DIR NAME
    local n
    n=$(find "$1/sanitizer-reports" -type f -size +0 | wc -l)
    echo "$2: $n sanitizer reports"
    if [ "$n" -ne 0 ]; then
        find "$1/sanitizer-reports" -type f -size +0 -exec head -n 30 {} + >&2
        return 1
    fi
}

build() { # DIR ARGS...
    local dir=$1
    shift
    cmake --build "$dir" -j2 "$@" >"$dir/build.log" 2>&1 || { tail -n 40 "$dir/build.log" >&2; exit 1; }
}

status=0

configure build-asan address,undefined
build build-asan
log=$(reports build-asan)
export ASAN_OPTIONS="$log:detect_stack_use_after_return=1"
export LSAN_OPTIONS="$log:suppressions=$root/fuzz/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="$log:print_stacktrace=1"
# The sanitizers slow everything down several times: a test that times a frame may overrun
# once and is run again. Reports are counted from their files, so a retry hides none.
(cd build-asan && QT_QPA_PLATFORM=offscreen ctest -j2 --output-on-failure --timeout 900 \
    --repeat until-pass:3) || status=1
count_reports build-asan "ASan+UBSan" || status=1
unset ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS

configure build-tsan thread
targets=(test_chart qm7100 qm7100-sim)
# (grep reads the whole list: with -q it would stop early and break cmake's pipe, which pipefail
# takes for a failure and the desktop tests would be left out)
if cmake --build build-tsan --target help | grep -w test_desktop >/dev/null; then
    targets+=(test_desktop)
fi
build build-tsan --target "${targets[@]}"
export TSAN_OPTIONS="$(reports build-tsan):second_deadlock_stack=1:suppressions=$root/scripts/tsan.supp"
for t in "${targets[@]}"; do
    [[ $t == test_* ]] || continue
    QT_QPA_PLATFORM=offscreen QM_BIN_DIR=$root/build-tsan/bin QM_SOURCE_DIR=$root \
        build-tsan/tests/"$t" --gtest_brief=1 || status=1
done
count_reports build-tsan "TSan" || status=1
exit $status
