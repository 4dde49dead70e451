#!/usr/bin/env bash
# Runs the desktop tier on an X display of its own: an Xvfb server (a display number nobody
# uses, found by tests/desktop/xvfb-display.sh, 1280x1024x24) with openbox managing its
# windows, both stopped at the end whatever happens.
#   tests/desktop/run.sh BUILD/tests/desktop/tst_desktop [TEST_ARGUMENTS...]
# Installs nothing; scripts/test installs the tools. Screenshots of each scenario's end go to
# BUILD/desktop-screens/ (or $QUARVEL_DESKTOP_SCREENS); $QUARVEL_DESKTOP_BINARY runs another
# Quarvel binary than the build's own.
set -u
program=${1:?usage: tests/desktop/run.sh TEST_PROGRAM [TEST_ARGUMENTS...]}
shift
for tool in Xvfb openbox xdotool import; do
    if ! command -v "$tool" >/dev/null; then
        echo "run.sh: $tool is missing (scripts/test installs it)" >&2
        exit 2
    fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/quarvel-desktop.XXXXXX")
xvfb_pid=""
openbox_pid=""
stop_display() {
    [ -n "$openbox_pid" ] && kill "$openbox_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap stop_display EXIT
trap 'exit 130' INT TERM

# Waits up to 15 s for a condition (a command), while the process given stays alive.
wait_for() {
    local pid=$1
    shift
    local i
    for i in $(seq 150); do
        "$@" && return 0
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
has_display_number() { grep -q '^[0-9][0-9]*$' "$work/display"; }
wm_ready() { [ -e "$work/wm-ready" ]; }

# The server writes its display number once it takes connections.
"$(dirname "${BASH_SOURCE[0]}")/xvfb-display.sh" -screen 0 1280x1024x24 -noreset >"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
if ! wait_for "$xvfb_pid" has_display_number; then
    echo "run.sh: Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 2
fi
export DISPLAY=":$(cat "$work/display")"

# openbox with its default configuration (not the user's); it runs the start-up command once it
# manages the screen.
mkdir -p "$work/openbox-config"
XDG_CONFIG_HOME="$work/openbox-config" openbox --startup "touch $work/wm-ready" >"$work/openbox.log" 2>&1 &
openbox_pid=$!
if ! wait_for "$openbox_pid" wm_ready; then
    echo "run.sh: openbox did not start:" >&2
    cat "$work/openbox.log" >&2
    exit 2
fi

echo "Desktop tier on Xvfb $DISPLAY (1280x1024x24) with openbox"
unset QT_QPA_PLATFORM
# A hanging scenario cannot hold the run up for long: Qt Test's own limit is per function.
timeout --kill-after=10 600 "$program" "$@"
