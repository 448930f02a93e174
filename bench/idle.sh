#!/usr/bin/env bash
# Idle cost of the program: runs it for SECONDS (default 60) with the simulated service and one
# connection up, and prints its CPU time, CPU share and peak memory beside those of a minimal Qt
# Widgets program with a tray icon and a one-second timer, measured the same way. It also prints
# what each wrote to disk, scaled to an hour: bytes (write_bytes of /proc/PID/io) and the number
# of times the heartbeat file beside the database was replaced.
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
heartbeat=$work/program/XRDB.heartbeat
written() { awk '/^write_bytes/ {print $2}' "/proc/$1/io"; }
# The heartbeat file's modification time, nanoseconds; empty while there is none.
beat() { stat -c %.9Y "$heartbeat" 2>/dev/null || true; }

# Runs a program for the measured time and prints: cpu-seconds share-percent peak-kB
# written-bytes-per-hour heartbeat-replacements-per-hour
measure() {
    "$@" 2>/dev/null &
    local pid=$!
    sleep 2 # start-up is not idle time
    read -r -a before < <(cut -d' ' -f14,15 "/proc/$pid/stat")
    local bytes_before last replaced=0 second
    bytes_before=$(written "$pid")
    last=$(beat)
    for (( second = 0; second < seconds; ++second )); do
        sleep 1
        local now
        now=$(beat)
        [[ -n $now && $now != "$last" ]] && replaced=$(( replaced + 1 ))
        last=$now
    done
    read -r -a after < <(cut -d' ' -f14,15 "/proc/$pid/stat")
    local peak bytes
    peak=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
    bytes=$(( $(written "$pid") - bytes_before ))
    kill -TERM "$pid"
    wait "$pid" || true
    local used=$(( after[0] + after[1] - before[0] - before[1] ))
    awk -v t="$used" -v hz="$ticks" -v s="$seconds" -v p="$peak" -v b="$bytes" -v r="$replaced" \
        'BEGIN { printf "%.2f %.3f %d %.0f %.0f\n", t / hz, 100 * t / hz / s, p, b * 3600 / s, r * 3600 / s }'
}

read -r cpu share peak bytes beats < <(measure "$work/program/xarvane")
read -r floor_cpu floor_share floor_peak floor_bytes floor_beats < <(measure "$build/bin/bench_minimal_tray")
rows=$(sqlite3 "$work/program/XRDB.mdb" 'select count(*) from XRRecord')

printf 'idle for %d s, one connection up (%s record); disk writes scaled to an hour\n' "$seconds" "$rows"
printf '%-22s %10s %10s %12s %14s %14s\n' program "cpu s" "cpu %" "peak RSS kB" "bytes/h" "heartbeats/h"
printf '%-22s %10s %10s %12s %14s %14s\n' xarvane "$cpu" "$share" "$peak" "$bytes" "$beats"
printf '%-22s %10s %10s %12s %14s %14s\n' "minimal Qt tray" "$floor_cpu" "$floor_share" "$floor_peak" \
    "$floor_bytes" "$floor_beats"
