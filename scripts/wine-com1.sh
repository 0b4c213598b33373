# Sourced by the Windows scripts: the meter simulator on Wine's COM1 of $WINEPREFIX.
#   sim_on_com1 ARGS...   starts qm7100-sim with ARGS and maps COM1 to its pseudo-terminal
#   stop_sim              stops it
sim=""
sim_on_com1() {
    coproc SIM { exec build/bin/qm7100-sim "$@"; }
    sim=$SIM_PID
    local pty
    read -r pty <&"${SIM[0]}"
    # Wine reads the port mapping from its registry when it starts.
    wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$pty" /f >/dev/null 2>&1
    wineserver -w
}
stop_sim() {
    [ -n "$sim" ] || return 0
    kill "$sim" 2>/dev/null
    wait "$sim" 2>/dev/null || true
    sim=""
}
