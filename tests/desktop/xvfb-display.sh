#!/usr/bin/env bash
# Starts an Xvfb server on a display number nobody uses, writes the number to standard output
# once it takes connections, and runs until it is stopped (TERM, INT or HUP stop the server;
# the server also ends when this script is killed).
#   tests/desktop/xvfb-display.sh [XVFB_ARGUMENT...]      e.g. -screen 0 1280x1024x24
# Xvfb's own -displayfd choice only asks whether it can listen on a number: it takes a number
# whose lock file a live server holds, replaces the socket of a server of another network
# namespace that shares /tmp, and leaves no lock file for others to see. Here a number is taken
# only when it has no lock file, no socket file and no listening socket; it is claimed with a
# lock file of our own (the X servers' convention) before the server starts on it, and the next
# number is tried when the server cannot listen there.
set -u
first=${QUARVEL_XVFB_FIRST_DISPLAY:-20} # above the numbers desktops and forwarded sessions take
work=$(mktemp -d "${TMPDIR:-/tmp}/quarvel-xvfb.XXXXXX")
# The lock file as X servers write it (the owner's pid in 10 characters, read-only), linked
# into place, so nobody reads it half written; made beside the locks, for the link.
claim=$(mktemp /tmp/.quarvel-lock.XXXXXX)
printf '%10d\n' $$ >"$claim"
chmod 444 "$claim"
xvfb_pid=""
lock=""
stop() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    [ -n "$lock" ] && rm -f "$lock"
    rm -rf "$work" "$claim"
}
trap stop EXIT
trap 'exit 143' TERM HUP
trap 'exit 130' INT

# A lock file (even one left by a server that died), a socket file, or a server listening on
# the number's abstract socket, which a server whose files are in another /tmp has.
in_use() {
    local n=$1
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] ||
        awk -v name="@/tmp/.X11-unix/X$n" '$NF == name { found = 1 } END { exit !found }' /proc/net/unix 2>/dev/null
}

# The server ends with this script, however it ends (util-linux's setpriv).
deathsig=()
command -v setpriv >/dev/null && deathsig=(setpriv --pdeathsig TERM)

for ((n = first; n < first + 200; n++)); do
    in_use "$n" && continue
    # Claimed only if nobody has claimed it meanwhile.
    ln "$claim" "/tmp/.X$n-lock" 2>/dev/null || continue
    lock="/tmp/.X$n-lock"
    : >"$work/ready"
    "${deathsig[@]}" Xvfb ":$n" -displayfd 3 -nolisten tcp "$@" 3>"$work/ready" &
    xvfb_pid=$!
    for _ in $(seq 150); do
        [ -s "$work/ready" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ -s "$work/ready" ]; then
        echo "$n"
        # wait returns early for a trapped signal; the trap then stops the server.
        wait "$xvfb_pid"
        status=$?
        xvfb_pid=""
        exit $status
    fi
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
    rm -f "$lock"
    lock=""
done
echo "xvfb-display.sh: no free display number in $first..$((first + 199))" >&2
exit 2
