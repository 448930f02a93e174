#!/usr/bin/env bash
# Idle cost of the program: runs it for SECONDS (default 60) with the simulated service and one
# connection up, and prints its CPU time, CPU share and peak memory beside those of a minimal Qt
# Widgets program with a tray icon and a one-second timer, measured the same way.
#   bench/idle.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
build=$(realpath "${1:-build}")
seconds=${2:-60}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config XARVANE_PROMPTS=log
mkdir -p "$work/run" "$work/config" "$work/program"
cp "$build/bin/xarvane" "$work/program/"
"$build/bin/xarvane-setup" "$work/program" >/dev/null
sim() { "$build/bin/xarvane-sim" --state "$work/program/SimRas.json" "$@" >/dev/null; }
sim add-entry Office
sim connect Office

ticks=$(getconf CLK_TCK)
# Runs a program for the measured time and prints: cpu-seconds share-percent peak-kB
measure() {
    "$@" 2>/dev/null &
    local pid=$!
    sleep 2 # start-up is not idle time
    read -r -a before < <(cut -d' ' -f14,15 "/proc/$pid/stat")
    sleep "$seconds"
    read -r -a after < <(cut -d' ' -f14,15 "/proc/$pid/stat")
    local peak
    peak=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
    kill -TERM "$pid"
    wait "$pid" || true
    local used=$(( after[0] + after[1] - before[0] - before[1] ))
    awk -v t="$used" -v hz="$ticks" -v s="$seconds" -v p="$peak" \
        'BEGIN { printf "%.2f %.3f %d\n", t / hz, 100 * t / hz / s, p }'
}

read -r cpu share peak < <(measure "$work/program/xarvane")
read -r floor_cpu floor_share floor_peak < <(measure "$build/bin/bench_minimal_tray")
rows=$(sqlite3 "$work/program/XRDB.mdb" 'select count(*) from XRRecord')

printf 'idle for %d s, one connection up (%s record)\n' "$seconds" "$rows"
printf '%-22s %10s %10s %12s\n' program "cpu s" "cpu %" "peak RSS kB"
printf '%-22s %10s %10s %12s\n' xarvane "$cpu" "$share" "$peak"
printf '%-22s %10s %10s %12s\n' "minimal Qt tray" "$floor_cpu" "$floor_share" "$floor_peak"
