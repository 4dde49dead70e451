#!/usr/bin/env bash
# Runs one test program with its own temporary XDG folders and a headless display.
set -u
dir=$(mktemp -d "${TMPDIR:-/tmp}/quarvel-test.XXXXXX")
trap 'rm -rf "$dir"' EXIT
mkdir -p "$dir/config" "$dir/data" "$dir/cache" "$dir/runtime"
chmod 700 "$dir/runtime"
export HOME="$dir"
export XDG_CONFIG_HOME="$dir/config" XDG_DATA_HOME="$dir/data" XDG_CACHE_HOME="$dir/cache"
export XDG_RUNTIME_DIR="$dir/runtime"
export QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:-} --disable-gpu --disable-background-networking"
if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
else
    unset QTWEBENGINE_DISABLE_SANDBOX
fi
"$@"
