#!/usr/bin/env bash
# The Debian package on this machine: packages the test's own build tree (lintian must find no
# error), installs it with apt, checks the shared data folder, runs the installed program as two
# people at once on virtual displays, each recording a simulated connection into the one
# database, and as a third person outside the group, who is told so and leaves no file; then
# reinstalls and removes the package (the data stays) and purges it (the data goes). Needs root and a machine
# without a xarvane package; skipped otherwise (exit status 77), and in the sanitizer build.
# Everything it makes (users, the group, the package, displays) is undone however it ends.
set -euo pipefail
source_dir=$(realpath "$1")
build_dir=$(realpath "$2")
sanitized=${3:-0}

data=/var/lib/xarvane
entry=拨号连接
user_before=xrpkg-early # exists before the installation
user_after=xrpkg-late   # created after it, then added to the group by hand
outsider=xrpkg-outside  # created after it and left out of the group

skip() {
    echo "skipped: $*"
    exit 77
}
fail() {
    echo "FAIL: $*"
    exit 1
}
ok() { echo "ok: $*"; }

[ "$sanitized" = 1 ] && skip "the sanitizer build does not make the package"
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
for tool in dpkg dpkg-deb apt-get dpkg-shlibdeps lintian appstreamcli desktop-file-validate Xvfb sqlite3 \
    setpriv useradd; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done
package_status() { dpkg-query -W -f='${db:Status-Status}' xarvane 2>/dev/null || true; }
case "$(package_status)" in
'' | not-installed) ;;
*) skip "a xarvane package is installed on this machine" ;;
esac
[ -e "$data" ] && skip "$data exists already"
for name in "$user_before" "$user_after" "$outsider"; do
    getent passwd "$name" >/dev/null && skip "the account $name exists already"
done

work=$(mktemp -d)
chmod 0755 "$work"
group_existed=0
getent group xarvane >/dev/null && group_existed=1
users=()
pids=()
cleanup() {
    local pid name
    for pid in "${pids[@]}"; do
        kill -KILL "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    case "$(package_status)" in
    '' | not-installed) ;;
    *) dpkg --purge xarvane >/dev/null 2>&1 || true ;;
    esac
    rm -rf "$data"
    for name in "${users[@]}"; do
        for pid in $(ps -o pid= -u "$name"); do # what the test's programs left running
            kill -KILL "$pid" 2>/dev/null || true
        done
        userdel --remove "$name" 2>&1 | grep -v 'mail spool' || true
    done
    if [ "$group_existed" = 0 ] && getent group xarvane >/dev/null; then
        groupdel xarvane
    fi
    rm -rf "$work" "$build_dir/package-test"
}
trap cleanup EXIT

add_user() {
    useradd --create-home --shell /bin/bash "$1"
    users+=("$1")
}

# Polls a command every 0.1 s for up to 30 s.
wait_for() {
    local tries=300
    until "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

records() {
    sqlite3 -cmd '.timeout 5000' -readonly "$data/XRDB.mdb" "$1"
}
# True when XRRecord holds COUNT rows [that match the condition WHERE].
record_count_is() {
    [ "$(records "select count(*) from XRRecord ${2:-}")" = "$1" ]
}

# A virtual display of its own, as each person of a fast user switch has; its number in
# $display.
start_display() {
    local file=$work/display-$1
    Xvfb -displayfd 3 -nolisten tcp -ac -screen 0 1024x768x24 3>"$file" >/dev/null 2>&1 &
    pids+=($!)
    wait_for test -s "$file" || fail "Xvfb did not start"
    display=$(cat "$file")
}

# Runs a command as the user NAME with their own groups, home, runtime folder, display and
# simulated dial-up service; the process keeps the caller's pid (nothing forks in between).
as_user() {
    local name=$1 display=$2
    shift 2
    local home
    home=$(getent passwd "$name" | cut -d: -f6)
    cd "$home"
    exec setpriv --reuid="$name" --regid="$(id -g "$name")" --init-groups \
        env -i HOME="$home" USER="$name" LOGNAME="$name" PATH=/usr/bin:/bin LANG=C.UTF-8 \
        DISPLAY=":$display" XDG_RUNTIME_DIR="$work/run-$name" XARVANE_RAS=sim \
        DBUS_SESSION_BUS_ADDRESS="unix:path=$work/run-$name/no-bus" \
        XARVANE_SIM_STATE="$work/sim-$name/SimRas.json" XARVANE_PROMPTS=log "$@"
}

prepare_user() {
    local name=$1
    install -d -m 0700 -o "$name" "$work/run-$name"
    install -d -m 0700 -o "$name" "$work/sim-$name"
}

# The program catches SIGTERM once its event loop is about to run, and has the database open.
program_ready() {
    local pid=$1 mask
    mask=$(sed -n 's/^SigCgt:\s*//p' "/proc/$pid/status" 2>/dev/null) || return 1
    [ -n "$mask" ] && (((0x$mask >> 14) & 1)) || return 1
    for descriptor in /proc/"$pid"/fd/*; do
        [ "$(readlink "$descriptor")" = "$data/XRDB.mdb" ] && return 0
    done
    return 1
}

ended() { ! kill -0 "$1" 2>/dev/null; }

# --- The package and its installation
add_user "$user_before"
XARVANE_PACKAGE_BUILD=$build_dir XARVANE_PACKAGE_DIR=$build_dir/package-test "$source_dir/scripts/package" \
    >"$work/package.log" 2>&1 || { cat "$work/package.log"; fail "scripts/package (lintian errors?)"; }
grep -q '^lintian: no errors' "$work/package.log" || fail "lintian did not check the package"
package=$(sed -n 's/^package: //p' "$work/package.log")
ok "packaged $(basename "$package"), no lintian errors"

apt-get install -y --no-install-recommends -o DPkg::Lock::Timeout=120 "$package" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log"; fail "apt-get install"; }
ok "installed"

appstreamcli validate --no-net /usr/share/metainfo/cn.pellory.xarvane.metainfo.xml >/dev/null ||
    fail "AppStream data invalid"
desktop-file-validate /usr/share/applications/cn.pellory.xarvane.desktop || fail "desktop entry invalid"
grep -q '^Name\[zh_CN\]=.*上网' /usr/share/applications/cn.pellory.xarvane.desktop ||
    fail "the desktop entry has no Chinese name"
[ -f /usr/share/icons/hicolor/scalable/apps/xarvane.svg ] || fail "no icon in the hicolor theme"
for page in xarvane xarvane-setup xarvane-sim; do
    [ -f "/usr/share/man/man1/$page.1.gz" ] || fail "no manual page $page(1)"
done

id -nG "$user_before" | tr ' ' '\n' | grep -qx xarvane || fail "$user_before is not in the group xarvane"
[ "$(stat -c '%U:%G %a' "$data")" = "root:xarvane 2770" ] ||
    fail "$data is $(stat -c '%U:%G %a' "$data"), not root:xarvane 2770"
for file in XRDB.mdb Xarvane.reg Conn1.wav Conn2.wav Disconn.wav help/index.html; do
    [ -f "$data/$file" ] || fail "the installation made no $data/$file"
done
wrong=$(find "$data" \( -type f \! -perm 0660 -o -type d \! -perm 2770 -o \! -group xarvane -o \! -user root \) \
    -printf '%p %u:%g %m\n')
[ -z "$wrong" ] || fail "files not root:xarvane 0660 (folders 2770): $wrong"
[ "$(records "select PwReset from XRUser where UserName = 'admin'")" = 1 ] ||
    fail "the installation did not leave admin's empty password to be replaced at the first sign-in"
ok "data folder root:xarvane 2770, files 0660, $user_before in the group, admin's password to be set"

# --- Two people at once, each on a display of their own
add_user "$user_after"
add_user "$outsider"
adduser --quiet "$user_after" xarvane
id -nG "$outsider" | tr ' ' '\n' | grep -qx xarvane && fail "$outsider joined the group by itself"

programs=()
for name in "$user_before" "$user_after"; do
    prepare_user "$name"
    (as_user "$name" 0 xarvane-sim add-entry "$entry") >/dev/null || fail "xarvane-sim add-entry as $name"
    start_display "$name"
    (as_user "$name" "$display" /usr/bin/xarvane) 2>"$work/errors-$name" &
    pids+=($!)
    programs+=($!)
done
for i in 0 1; do
    if ! wait_for program_ready "${programs[$i]}"; then
        state="is running"
        ended "${programs[$i]}" && state="has ended"
        tail -n +1 "$work/errors-"*
        fail "program $i ($state) did not come to have the database open and SIGTERM caught"
    fi
done
ok "the program runs as $user_before and as $user_after"

for name in "$user_before" "$user_after"; do
    (as_user "$name" 0 xarvane-sim connect "$entry") >/dev/null || fail "xarvane-sim connect as $name"
done
wait_for record_count_is 2 ||
    fail "not two records: $(records 'select * from XRRecord')"
for name in "$user_before" "$user_after"; do
    (as_user "$name" 0 xarvane-sim disconnect "$entry") >/dev/null || fail "xarvane-sim disconnect as $name"
done
wait_for record_count_is 2 "where Edt > Sdt" ||
    fail "the records did not end: $(records 'select * from XRRecord')"
for pid in "${programs[@]}"; do
    kill -TERM "$pid"
done
for i in 0 1; do
    wait_for ended "${programs[$i]}" || fail "program $i did not end on SIGTERM"
    status=0
    wait "${programs[$i]}" || status=$?
    [ "$status" = 0 ] || { cat "$work/errors-"*; fail "program $i ended with status $status"; }
done
if grep -il "locked" "$work"/errors-*; then
    cat "$work"/errors-*
    fail "a program found the database locked"
fi
record_count_is 2 || fail "not two records after the end"
unshared=$(find "$data" \( \! -group xarvane -o \! -perm -0060 \) -printf '%p %u:%g %m\n')
[ -z "$unshared" ] || fail "files the programs made that the group may not write: $unshared"
ok "two connections recorded into $data/XRDB.mdb at once, ended, no lock error"

# --- Somebody outside the group
prepare_user "$outsider"
start_display "$outsider"
listing=$(find "$data" | sort)
(as_user "$outsider" "$display" /usr/bin/xarvane) 2>"$work/errors-$outsider" &
pid=$!
pids+=("$pid")
wait_for ended "$pid" || fail "the program of $outsider did not end"
grep "^prompt: " "$work/errors-$outsider" | grep -q "$data" ||
    { cat "$work/errors-$outsider"; fail "$outsider was not told about $data"; }
[ "$(find "$data" | sort)" = "$listing" ] || fail "the data folder changed"
strays=$(find / /tmp /home /var /run /dev/shm -xdev -user "$outsider" \( -name 'XRDB*' -o -name Xarvane.reg \
    -o -name SimRas.json -o -name '*.heartbeat' -o -name XRSynRum.TXT -o -name '*.wav' \) -print 2>/dev/null |
    sort -u)
[ -z "$strays" ] || fail "$outsider's program made files: $strays"
ok "$outsider is told about $data and creates nothing"

# --- A reinstall and a remove keep the data, a purge removes it; the group stays
apt-get install -y --reinstall --no-install-recommends -o DPkg::Lock::Timeout=120 "$package" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log"; fail "apt-get install --reinstall"; }
record_count_is 2 || fail "the reinstall did not keep the records"
apt-get remove -y -o DPkg::Lock::Timeout=120 xarvane >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "remove"; }
[ ! -e /usr/bin/xarvane ] || fail "/usr/bin/xarvane is left after remove"
record_count_is 2 || fail "remove did not keep the records"
apt-get purge -y -o DPkg::Lock::Timeout=120 xarvane >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "purge"; }
[ ! -e "$data" ] || fail "purge left $data"
getent group xarvane >/dev/null || fail "purge removed the group xarvane"
ok "reinstall and remove keep $data, purge removes it and leaves the group"
