#!/usr/bin/env bash
# Idle cost of the program: runs it for SECONDS (default 60) with one connection up, first on the
# simulated service, then on NetworkManager (python-dbusmock's NetworkManager on a private bus;
# skipped when dbus-daemon or python3-dbusmock is missing), and prints its CPU time, CPU share
# and peak memory beside those of a minimal Qt Widgets program with a tray icon and a one-second
# timer, measured the same way; for NetworkManager also the D-Bus calls per second it served.
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
call_log=""
logged_calls() { if [ -n "$call_log" ]; then wc -l <"$call_log"; else echo 0; fi; }
# Runs a program for the measured time and prints: cpu-seconds share-percent peak-kB calls-per-second
# (calls: lines added to $call_log meanwhile).
measure() {
    "$@" 2>/dev/null &
    local pid=$!
    sleep 2 # start-up is not idle time
    local calls_before
    calls_before=$(logged_calls)
    read -r -a before < <(cut -d' ' -f14,15 "/proc/$pid/stat")
    sleep "$seconds"
    read -r -a after < <(cut -d' ' -f14,15 "/proc/$pid/stat")
    local calls=$(( $(logged_calls) - calls_before ))
    local peak
    peak=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
    kill -TERM "$pid"
    wait "$pid" || true
    local used=$(( after[0] + after[1] - before[0] - before[1] ))
    awk -v t="$used" -v hz="$ticks" -v s="$seconds" -v p="$peak" -v c="$calls" \
        'BEGIN { printf "%.2f %.3f %d %.2f\n", t / hz, 100 * t / hz / s, p, c / s }'
}
row() { printf '%-26s %10s %10s %12s\n' "$@"; }

read -r cpu share peak _ < <(XARVANE_RAS=sim measure "$work/program/xarvane")
sim_rows=$(records)
read -r floor_cpu floor_share floor_peak _ < <(measure "$build/bin/bench_minimal_tray")

# NetworkManager's mock with one active Ethernet connection, on a bus of our own.
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
profile = settings.AddConnection({'connection': {'id': 'Office', 'type': '802-3-ethernet', 'uuid': 'office'}})
mock.AddActiveConnection([device], profile, '/', 'bench', dbus.UInt32(2))
PY
    "$build/bin/xarvane-setup" --force "$work/program" >/dev/null
    call_log=$work/nm.log
    nm_result=$(DBUS_SYSTEM_BUS_ADDRESS=$bus XARVANE_RAS=nm measure "$work/program/xarvane")
fi

printf 'idle for %d s, one connection up (%s record on the simulated service)\n' "$seconds" "$sim_rows"
row program "cpu s" "cpu %" "peak RSS kB"
row "xarvane, simulated" "$cpu" "$share" "$peak"
if [ -n "$nm_result" ]; then
    read -r nm_cpu nm_share nm_peak nm_calls <<<"$nm_result"
    row "xarvane, NetworkManager" "$nm_cpu" "$nm_share" "$nm_peak"
fi
row "minimal Qt tray" "$floor_cpu" "$floor_share" "$floor_peak"
if [ -n "$nm_result" ]; then
    printf 'NetworkManager: %s D-Bus calls per second (%s record)\n' "$nm_calls" "$(records)"
else
    echo "NetworkManager: skipped (dbus-daemon or python3-dbusmock missing)"
fi
