#!/usr/bin/env bash
# Installs what is missing, builds, and runs the program's main job. With a display and the
# desktop program built, the desktop program runs against the meter simulator; otherwise a
# headless demo walks through what the tools do: an upload from the simulator, the file tree,
# a pane's tables, a CSV export and a chart picture.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
bin=build/bin
out=build/demo
mkdir -p "$out"
settings="$out/setup.ini"

sim_pid=""
cleanup() { [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true; }
trap cleanup EXIT

port=""
if [ -x "$bin/qm7100-sim" ]; then
    # The simulator prints its pseudo-terminal's path on its first line.
    coproc SIM { exec "$bin/qm7100-sim" --model 7100T2 --count 3; }
    sim_pid=$SIM_PID
    read -r port <&"${SIM[0]}"
    printf '[Connect Information]\r\nPort=%s\r\nBaud=115200\r\n' "$port" > "$settings"
    echo "Meter simulator on $port"
fi

if { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; } && [ -x "$bin/qm7100-workdesk" ]; then
    # The program reads setup.ini beside itself.
    cp "$settings" "$bin/setup.ini" 2>/dev/null || true
    "$bin/qm7100-workdesk"
    exit 0
fi

echo "== headless demo (no display or no desktop program) =="
project=samples/sample.f71
if [ -n "$port" ]; then
    echo "-- qm7100 upload (from the simulator)"
    if "$bin/qm7100" --settings "$settings" upload "$out/uploaded.f71"; then
        project="$out/uploaded.f71"
    fi
fi
echo "-- qm7100 tree $project"
"$bin/qm7100" tree "$project"
for section in level tilt; do
    echo "-- qm7100 show $project 0 $section"
    "$bin/qm7100" show "$project" 0 "$section" | head -n 20 || true
done
"$bin/qm7100" export "$project" 0 level "$out/level.csv" && echo "-- wrote $out/level.csv" || true
"$bin/qm7100" chart "$project" 0 spectrum "$out/spectrum.png" && echo "-- wrote $out/spectrum.png" || true
"$bin/qm7100" chart "$project" 0 scan "$out/scan.png" && echo "-- wrote $out/scan.png" || true
echo "== demo done; files in $out =="
