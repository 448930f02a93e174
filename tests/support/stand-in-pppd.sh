#!/bin/sh
# Stands in for pppd in tests; seen from outside it behaves like pppd started with
# `call NAME [linkname NAME] nodetach`: it reads the peer's options file, writes its pid files
# in pppd's format once the link is "up", stays alive while up, removes them and exits with
# status 5 on SIGTERM, SIGINT or SIGHUP, or fails with a chosen exit status. Like pppd it
# refuses, with status 2, an option that only root may give on the command line, and takes a
# `linkname` line of the peer's file (a privileged source) for anyone.
#
#   XARVANE_PPP_PEERS, XARVANE_PPP_RUN  the folders, as the program sees them
#   STANDIN_PPPD_EXIT     fail with this status after the connect phase instead of coming up
#   STANDIN_PPPD_IFNAME   the link's interface (default ppp0)
#   STANDIN_PPPD_DELAY    seconds of connect phase before the pid files appear (default 0.2)
#   STANDIN_PPPD_LOG      file to which each start appends its arguments, one line

arguments="$*"
peer=
link=
while [ $# -gt 0 ]; do
    case "$1" in
        call) peer=$2; shift ;;
        linkname|name|domain|noauth|nolock|plugin|privgroup|replacedefaultroute)
            if [ "$(id -ru)" != 0 ]; then
                echo "pppd: using the $1 option requires root privilege" >&2
                exit 2
            fi
            [ "$1" = linkname ] && link=$2 && shift ;;
    esac
    shift
done
[ -n "$STANDIN_PPPD_LOG" ] && printf '%s\n' "$arguments" >> "$STANDIN_PPPD_LOG"
# pppd ends with status 2 (an options error) when the peer's file cannot be read.
options="${XARVANE_PPP_PEERS:-/etc/ppp/peers}/$peer"
[ -n "$peer" ] && [ -r "$options" ] || exit 2
[ -z "$link" ] && link=$(sed -n 's/^linkname[[:space:]]\{1,\}\([^[:space:]]\{1,\}\).*/\1/p' "$options" | tail -n 1)

sleeper=
ifname=${STANDIN_PPPD_IFNAME:-ppp0}
run=${XARVANE_PPP_RUN:-/run}
finish() {
    rm -f "$run/$ifname.pid"
    [ -n "$link" ] && rm -f "$run/ppp-$link.pid"
    [ -n "$sleeper" ] && kill "$sleeper" 2>/dev/null
    exit 5
}
trap finish TERM INT HUP
# Waits in the background, so that a signal is handled at once.
pause() {
    sleep "$1" &
    sleeper=$!
    wait "$sleeper"
}

pause "${STANDIN_PPPD_DELAY:-0.2}"
[ -n "$STANDIN_PPPD_EXIT" ] && exit "$STANDIN_PPPD_EXIT"
# Each file appears whole (written aside, then moved), the link's first, so that a test that
# waits for the interface's file finds both complete.
if [ -n "$link" ]; then
    printf '%s\n%s\n' $$ "$ifname" > "$run/.ppp-$link.pid.new" && mv "$run/.ppp-$link.pid.new" "$run/ppp-$link.pid"
fi
printf '%s\n' $$ > "$run/.$ifname.pid.new" && mv "$run/.$ifname.pid.new" "$run/$ifname.pid"
while :; do
    pause 600
done
