#!/usr/bin/env bash
# Runs the Windows build's tests under Wine, then the Windows qm7100.exe against the Linux
# simulator through Wine's COM1: an upload, a plan read and a screen capture, each compared
# byte for byte with what the Linux tool gets from the same simulator.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build-windows.sh
bash scripts/deps.sh
bash scripts/build.sh --target qm7100 qm7100-sim

# A Wine of our own, so that the user's is left alone.
export WINEPREFIX="$PWD/build-win/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d)
sim=""
cleanup() {
    [ -n "$sim" ] && kill "$sim" 2>/dev/null && wait "$sim" 2>/dev/null
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
wineboot -i >/dev/null 2>&1

failed=0
for test in build-win/tests/test_*.exe; do
    if wine "$test" --gtest_brief=1 >"$work/test.log" 2>&1; then
        echo "PASS $(basename "$test") ($(grep -o '[0-9]* tests\? from' "$work/test.log" | head -1 | cut -d' ' -f1) tests)"
    else
        echo "FAIL $(basename "$test")"
        cat "$work/test.log"
        failed=1
    fi
done

# The simulator, and Wine's COM1 on its pseudo-terminal: Wine
# reads the port mapping from its registry when it starts.
build/bin/qm7100-sim --count 4 >"$work/sim.out" 2>"$work/sim.err" &
sim=$!
for _ in $(seq 50); do [ -s "$work/sim.out" ] && break; sleep 0.1; done
pty=$(head -1 "$work/sim.out")
[ -c "$pty" ] || { echo "the simulator did not start"; cat "$work/sim.err"; exit 1; }
wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$pty" /f >/dev/null 2>&1
wineserver -w

# Runs one meter command with the Linux tool, then through COM1 with the Windows one (ARGS holds
# OUT where the file name goes), and compares the files. The screen shows the meter's clock to
# the minute, so a capture may also match the Linux tool's capture taken right after it.
compare() {
    local name=$1 ext=$2 again=$3
    shift 3
    build/bin/qm7100 "${@/OUT/$work/linux.$ext}" --port "$pty" >/dev/null 2>"$work/linux.err" ||
        { echo "FAIL $name (Linux): $(cat "$work/linux.err")"; failed=1; return; }
    wine build-win/bin/qm7100.exe "${@/OUT/$work/windows.$ext}" --port COM1 >/dev/null \
        2>"$work/windows.err" ||
        { echo "FAIL $name through COM1: $(cat "$work/windows.err")"; failed=1; return; }
    if ! cmp -s "$work/linux.$ext" "$work/windows.$ext" && [ "$again" = again ]; then
        build/bin/qm7100 "${@/OUT/$work/linux.$ext}" --port "$pty" >/dev/null 2>&1 || true
    fi
    if cmp -s "$work/linux.$ext" "$work/windows.$ext"; then
        echo "PASS $name through COM1 ($(stat -c %s "$work/windows.$ext") bytes, the same as on Linux)"
    else
        echo "FAIL $name: the Windows file differs from the Linux one"
        failed=1
    fi
}
compare upload f71 once upload OUT
compare "plan read" f71CH once plan read A OUT
compare capture bmp again capture OUT
exit $failed
