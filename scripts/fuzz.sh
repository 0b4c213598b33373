#!/usr/bin/env bash
# Builds the fuzz targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer into
# build-fuzz/ and runs each for SECONDS (default 60), one after the other, starting from its
# committed corpus in fuzz/corpus/<target>/. Prints the executions and findings per target and
# exits non-zero when any target found something; a finding's input is kept in
# build-fuzz/findings/<target>/ (replay it with build/fuzz/<target> FILE).
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#   scripts/fuzz.sh --merge [SECONDS] [TARGET...]
# With FUZZ_RUNS=N in the environment a target also stops after N executions, so that a long
# run on a busy machine still reaches its count (SECONDS is then the cap).
# --merge then folds what the run learned into the committed corpus: the named inputs (seeds
# and past findings) stay as they are, and of the rest only a minimal set of inputs that
# reach what the named ones do not is kept, under libFuzzer's content-hash names.
set -euo pipefail
cd "$(dirname "$0")/.."
merge=0
if [ "${1:-}" = --merge ]; then
    merge=1
    shift
fi
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
# Inputs libFuzzer saved under their SHA-1; every other name was given by hand.
is_hashed() { [[ $(basename "$1") =~ ^[0-9a-f]{40}$ ]]; }

# Replaces fuzz/corpus/$1 by its named inputs and a minimal set of the others and of the run's
# corpus; prints the kept count and size.
merge_corpus() {
    local t=$1 committed=fuzz/corpus/$1 merged=$PWD/$build/merged/$1
    rm -rf "$merged"
    mkdir -p "$merged"
    for f in "$committed"/*; do
        is_hashed "$f" || cp "$f" "$merged/"
    done
    $build/fuzz/"$t" -merge=1 "$merged" "$PWD/$committed" "$PWD/$build/corpus/$t" \
        >"$build/$t.merge.log" 2>&1 || { tail -n 20 "$build/$t.merge.log" >&2; return 1; }
    for f in "$committed"/*; do
        is_hashed "$f" && rm "$f"
    done
    for f in "$merged"/*; do
        is_hashed "$f" && cp "$f" "$committed/"
    done
    printf '  merged into %s: %d inputs, %d KiB\n' "$committed" "$(find "$committed" -type f | wc -l)" \
        "$(du -sk --apparent-size "$committed" | cut -f1)"
}

printf '%-20s %8s %12s %10s %8s\n' target seconds executions "execs/s" findings
for t in "${targets[@]}"; do
    # Absolute, so that a target that works in a scratch folder still finds them.
    work=$PWD/$build/corpus/$t findings=$PWD/$build/findings/$t
    mkdir -p "$work" "$findings"
    log=$build/$t.log stamp=$build/$t.started
    touch "$stamp"
    status=0
    $build/fuzz/"$t" "$work" "$PWD/fuzz/corpus/$t" -max_total_time="$seconds" -timeout=30 \
        ${FUZZ_RUNS:+-runs="$FUZZ_RUNS"} -print_final_stats=1 -artifact_prefix="$findings/" >"$log" 2>&1 || status=$?
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    # A slow unit alone is no finding (a busy machine makes them); a hang ends in a timeout.
    found=$(find "$findings" -type f -newer "$stamp" ! -name 'slow-unit-*' | wc -l)
    if [ "$status" -ne 0 ] && [ "$found" -eq 0 ]; then
        found=1 # stopped without leaving an input: the log says why
    fi
    printf '%-20s %8s %12s %10s %8s\n' "$t" "$seconds" "${execs:-?}" "${rate:-?}" "$found"
    find "$findings" -type f -newer "$stamp" -name 'slow-unit-*' -printf '  slow: %p\n' >&2
    if [ "$found" -ne 0 ]; then
        failed=1
        echo "  see $log" >&2
        find "$findings" -type f -newer "$stamp" ! -name 'slow-unit-*' -printf '  %p\n' >&2
    elif [ $merge -eq 1 ]; then
        merge_corpus "$t" || failed=1
    fi
done
exit $failed
