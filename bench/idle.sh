#!/usr/bin/env bash
# Idle cost of the program: runs it for SECONDS (default 60) with one connection up, first on the
# simulated service, then on NetworkManager (python-dbusmock's NetworkManager on a private bus;
# skipped when dbus-daemon or python3-dbusmock is missing), and prints its CPU time, CPU share
# and peak memory beside those of a minimal Qt Widgets program with a tray icon and a one-second
# timer, measured the same way. It also prints what each wrote to disk, scaled to an hour: bytes
# (write_bytes of /proc/PID/io) and the number of times the heartbeat file beside the database
# was replaced; and, on NetworkManager (with 60 access points and 20 saved profiles besides the
# connection, as on a desktop in a town), the D-Bus calls per minute the service served and the
# bytes per minute that crossed the bus (dbus-monitor's copy of every message).
#   bench/idle.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
build=$(realpath "${1:-build}")
seconds=${2:-60}
work=$(mktemp -d)
pids=()
cleanup() {
    [ ${#pids[@]} -eq 0 ] || kill "${pids[@]}" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config XARVANE_PROMPTS=log
mkdir -p "$work/run" "$work/config" "$work/program"
cp "$build/bin/xarvane" "$work/program/"
"$build/bin/xarvane-setup" "$work/program" >/dev/null
sim() { "$build/bin/xarvane-sim" --state "$work/program/SimRas.json" "$@" >/dev/null; }
sim add-entry Office
sim connect Office
records() { sqlite3 "$work/program/XRDB.mdb" 'select count(*) from XRRecord'; }

ticks=$(getconf CLK_TCK)
heartbeat=$work/program/XRDB.heartbeat
written() { awk '/^write_bytes/ {print $2}' "/proc/$1/io"; }
# The heartbeat file's modification time, nanoseconds; empty while there is none.
beat() { stat -c %.9Y "$heartbeat" 2>/dev/null || true; }
call_log=""
logged_calls() { if [ -n "$call_log" ]; then wc -l <"$call_log"; else echo 0; fi; }
bus_copy=""
bus_bytes() { if [ -n "$bus_copy" ]; then stat -c %s "$bus_copy"; else echo 0; fi; }

# Runs a program for the measured time and prints: cpu-seconds share-percent peak-kB
# written-bytes-per-hour heartbeat-replacements-per-hour calls-per-minute bus-bytes-per-minute
# (calls: lines added to $call_log meanwhile; bus bytes: growth of $bus_copy)
measure() {
    "$@" 2>/dev/null &
    local pid=$!
    sleep 2 # start-up is not idle time
    read -r -a before < <(cut -d' ' -f14,15 "/proc/$pid/stat")
    local bytes_before last replaced=0 second calls_before bus_before
    bytes_before=$(written "$pid")
    calls_before=$(logged_calls)
    bus_before=$(bus_bytes)
    last=$(beat)
    for (( second = 0; second < seconds; ++second )); do
        sleep 1
        local now
        now=$(beat)
        [[ -n $now && $now != "$last" ]] && replaced=$(( replaced + 1 ))
        last=$now
    done
    read -r -a after < <(cut -d' ' -f14,15 "/proc/$pid/stat")
    local peak bytes calls on_bus
    peak=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
    bytes=$(( $(written "$pid") - bytes_before ))
    calls=$(( $(logged_calls) - calls_before ))
    on_bus=$(( $(bus_bytes) - bus_before ))
    kill -TERM "$pid"
    wait "$pid" || true
    local used=$(( after[0] + after[1] - before[0] - before[1] ))
    awk -v t="$used" -v hz="$ticks" -v s="$seconds" -v p="$peak" -v b="$bytes" -v r="$replaced" -v c="$calls" \
        -v d="$on_bus" \
        'BEGIN { printf "%.2f %.3f %d %.0f %.0f %.1f %.0f\n", t / hz, 100 * t / hz / s, p, b * 3600 / s, r * 3600 / s,
                 c * 60 / s, d * 60 / s }'
}
row() { printf '%-24s %10s %10s %12s %14s %14s\n' "$@"; }

read -r cpu share peak bytes beats _ < <(XARVANE_RAS=sim measure "$work/program/xarvane")
sim_rows=$(records)
read -r floor_cpu floor_share floor_peak floor_bytes floor_beats _ < <(measure "$build/bin/bench_minimal_tray")

# NetworkManager's mock with one active PPPoE connection, a Wi-Fi device that sees 60 access
# points and 20 saved profiles, on a bus of our own.
python=""
for candidate in /usr/bin/python3 python3; do
    if "$candidate" -c 'import dbusmock' 2>/dev/null; then python=$candidate; break; fi
done
nm_result=""
if [ -n "$python" ] && command -v dbus-daemon >/dev/null; then
    bus="unix:path=$work/bus"
    dbus-daemon --session --nofork --address="$bus" 2>/dev/null &
    pids+=($!)
    sleep 0.5
    DBUS_SYSTEM_BUS_ADDRESS=$bus "$python" -m dbusmock --system --template networkmanager \
        --logfile "$work/nm.log" >/dev/null 2>&1 &
    pids+=($!)
    DBUS_SYSTEM_BUS_ADDRESS=$bus "$python" - <<'PY'
import time, dbus
bus = dbus.SystemBus()
for _ in range(100):
    if bus.name_has_owner('org.freedesktop.NetworkManager'):
        break
    time.sleep(0.1)
nm = bus.get_object('org.freedesktop.NetworkManager', '/org/freedesktop/NetworkManager')
mock = dbus.Interface(nm, 'org.freedesktop.DBus.Mock')
device = mock.AddEthernetDevice('eth0', 'eth0', 100)
settings = dbus.Interface(bus.get_object('org.freedesktop.NetworkManager', '/org/freedesktop/NetworkManager/Settings'),
                          'org.freedesktop.NetworkManager.Settings')
profile = settings.AddConnection({'connection': {'id': 'DSL', 'type': 'pppoe', 'uuid': 'dsl'}})
mock.AddActiveConnection([device], profile, '/', 'bench', dbus.UInt32(2))
wifi = mock.AddWiFiDevice('wlan0', 'wlan0', 30)
for n in range(60):
    mock.AddAccessPoint(wifi, 'ap%d' % n, 'Network %d' % n, '00:11:22:33:44:%02X' % n, 2, 2437, 54000,
                        dbus.Byte(40 + n % 50), 0x100)
for n in range(19):
    settings.AddConnection({'connection': {'id': 'Profile %d' % n, 'type': '802-11-wireless', 'uuid': 'p%d' % n},
                            '802-11-wireless': {'ssid': dbus.ByteArray(b'Network %d' % n), 'mode': 'infrastructure'}})
PY
    "$build/bin/xarvane-setup" --force "$work/program" >/dev/null
    call_log=$work/nm.log
    bus_copy=$work/bus.bin
    dbus-monitor --address "$bus" --binary >"$bus_copy" 2>/dev/null &
    pids+=($!)
    sleep 0.5
    nm_result=$(DBUS_SYSTEM_BUS_ADDRESS=$bus XARVANE_RAS=nm measure "$work/program/xarvane")
fi

printf 'idle for %d s, one connection up (%s record on the simulated service); disk writes scaled to an hour\n' \
    "$seconds" "$sim_rows"
row program "cpu s" "cpu %" "peak RSS kB" "bytes/h" "heartbeats/h"
row "xarvane, simulated" "$cpu" "$share" "$peak" "$bytes" "$beats"
if [ -n "$nm_result" ]; then
    read -r nm_cpu nm_share nm_peak nm_bytes nm_beats nm_calls nm_bus <<<"$nm_result"
    row "xarvane, NetworkManager" "$nm_cpu" "$nm_share" "$nm_peak" "$nm_bytes" "$nm_beats"
fi
row "minimal Qt tray" "$floor_cpu" "$floor_share" "$floor_peak" "$floor_bytes" "$floor_beats"
if [ -n "$nm_result" ]; then
    printf 'NetworkManager, idle with 60 access points and 20 profiles: %s D-Bus calls and %s bytes on the bus per minute (%s record)\n' \
        "$nm_calls" "$nm_bus" "$(records)"
    # The same figure for the back-end that fetched every object at each poll, measured on this
    # mock with 30 s of idle time before it followed the service's change signals.
    echo 'NetworkManager, polling every object each second (earlier back-end): 62 D-Bus calls and 2056912 bytes per minute'
else
    echo "NetworkManager: skipped (dbus-daemon or python3-dbusmock missing)"
fi
