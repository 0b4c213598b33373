#!/usr/bin/env bash
# Builds the fuzz targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer into
# build-fuzz/ and runs each for SECONDS (default 60), one after the other, starting from its
# committed corpus in fuzz/corpus/<target>/. Prints the executions and findings per target and
# exits non-zero when any target found something; a finding's input is kept in
# build-fuzz/findings/<target>/ (replay it with build/fuzz/<target> FILE).
#   scripts/fuzz.sh [SECONDS] [TARGET...]
# With FUZZ_RUNS=N in the environment a target also stops after N executions, so that a long
# run on a busy machine still reaches its count (SECONDS is then the cap).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift $(($# > 0 ? 1 : 0))
bash scripts/deps.sh clang libclang-rt-dev

build=build-fuzz
if [ ! -f $build/CMakeCache.txt ]; then
    launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    CXX=clang++ cmake -S . -B $build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQM_BUILD_FUZZ=ON \
        -DQM_BUILD_TESTS=OFF -DQM_BUILD_BENCH=OFF "${launcher[@]}" \
        -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
        >/dev/null
fi
cmake --build $build -j2 >$build/build.log 2>&1 || { tail -n 40 $build/build.log >&2; exit 1; }

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for t in fuzz/corpus/*/; do
        t=$(basename "$t")
        [ -x $build/fuzz/"$t" ] && targets+=("$t")
    done
fi

export LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1"
failed=0
printf '%-20s %8s %12s %10s %8s\n' target seconds executions "execs/s" findings
for t in "${targets[@]}"; do
    work=$build/corpus/$t findings=$build/findings/$t
    mkdir -p "$work" "$findings"
    log=$build/$t.log stamp=$build/$t.started
    touch "$stamp"
    status=0
    $build/fuzz/"$t" "$work" fuzz/corpus/"$t" -max_total_time="$seconds" -timeout=30 \
        ${FUZZ_RUNS:+-runs="$FUZZ_RUNS"} -print_final_stats=1 -artifact_prefix="$findings/" >"$log" 2>&1 || status=$?
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    found=$(find "$findings" -type f -newer "$stamp" | wc -l)
    if [ "$status" -ne 0 ] && [ "$found" -eq 0 ]; then
        found=1 # stopped without leaving an input: the log says why
    fi
    printf '%-20s %8s %12s %10s %8s\n' "$t" "$seconds" "${execs:-?}" "${rate:-?}" "$found"
    if [ "$found" -ne 0 ]; then
        failed=1
        echo "  see $log" >&2
        find "$findings" -type f -newer "$stamp" -printf '  %p\n' >&2
    fi
done
exit $failed
