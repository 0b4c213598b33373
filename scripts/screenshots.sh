#!/usr/bin/env bash
# Screenshots of the real desktop program on a virtual display, against the meter simulator:
#   bash scripts/screenshots.sh OUTDIR
# The program drives itself through its windows (QM_SCREENSHOT_DIR) and quits. Then the other
# desktop areas' scripts (scripts/screenshots-*.sh) add their pictures.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:?usage: scripts/screenshots.sh OUTDIR}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
bin=build/bin
[ -x "$bin/qm7100-workdesk" ] && [ -x "$bin/qm7100-sim" ] || {
    echo "build qm7100-workdesk and qm7100-sim first" >&2
    exit 1
}

work="$(mktemp -d)"
sim_pid=""
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# The program reads setup.ini beside itself: run a copy so the real one is left alone.
cp "$bin/qm7100-workdesk" "$work/"
# The look is kept per user; keep this run's choices out of the real store.
export XDG_CONFIG_HOME="$work/config"
# So is the archive the uploads are kept in.
export XDG_DATA_HOME="$work/data"

shoot() { # $1: LANG, $2: screenshot set, $3: screen size, $4: scale factor
    coproc SIM { exec "$bin/qm7100-sim" --model 7100T2 --count 3; }
    sim_pid=$SIM_PID
    local port
    read -r port <&"${SIM[0]}"
    printf '[Connect Information]\r\nPort=%s\r\nBaud=115200\r\n' "$port" > "$work/setup.ini"
    LANG="$1" LC_ALL= LC_MESSAGES= QT_QPA_PLATFORM=xcb QM_SCREENSHOT_DIR="$out" \
        QM_SCREENSHOT_SET="$2" QT_SCALE_FACTOR="${4:-1}" timeout 120 \
        xvfb-run -a -s "-screen 0 ${3:-1400x900}x24" "$work/qm7100-workdesk"
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
    sim_pid=""
}

shoot en_US.UTF-8 all
shoot zh_CN.UTF-8 zh
# The window at 200 %: icons and text drawn at twice the pixels.
shoot en_US.UTF-8 scaled 2800x1800 2

for script in scripts/screenshots-*.sh; do
    [ -e "$script" ] || continue
    # The Windows program's pictures are the Windows scripts' (scripts/test-windows.sh).
    [ "$script" = scripts/screenshots-windows.sh ] && continue
    echo "== $script"
    bash "$script" "$out" || echo "$script failed" >&2
done
echo "screenshots in $out"
