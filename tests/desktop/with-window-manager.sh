#!/usr/bin/env bash
# Runs one test program on an X server and window manager of its own: Xvfb on a display number
# that the server picks itself (so parallel runs never collide) and openbox with its stock
# settings. Both are stopped when the program ends, however it ends.
# Usage: with-window-manager.sh program [arguments...]
set -uo pipefail

if ! command -v Xvfb >/dev/null 2>&1; then
    echo "SKIPPED: no X server can be started (Xvfb is not installed; scripts/install-deps.sh installs it)" >&2
    exit 77
fi
for tool in openbox xprop; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "FAILED: $tool is missing; scripts/install-deps.sh installs it" >&2
        exit 1
    fi
done

work=$(mktemp -d)
server=
manager=
stop() {
    [[ -n "$manager" ]] && kill "$manager" 2>/dev/null && wait "$manager" 2>/dev/null
    [[ -n "$server" ]] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    rm -rf "$work"
}
trap stop EXIT
trap 'exit 130' INT TERM

# The server writes the display number it found free to the descriptor. Without -noreset it
# would reset whenever its last client leaves, such as the probe below, and refuse clients
# meanwhile.
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
server=$!
for _ in $(seq 200); do
    grep -q . "$work/display" 2>/dev/null && xprop -display ":$(head -n 1 "$work/display")" -root >/dev/null 2>&1 &&
        break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.05
done
export DISPLAY=":$(head -n 1 "$work/display" 2>/dev/null)"
if ! xprop -root >/dev/null 2>&1; then
    echo "FAILED: Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi

# Stock settings only: nothing from the user's configuration.
XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" openbox --sm-disable >"$work/openbox.log" 2>&1 &
manager=$!
for _ in $(seq 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    kill -0 "$manager" 2>/dev/null || break
    sleep 0.05
done
if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; then
    echo "FAILED: openbox did not start on $DISPLAY:" >&2
    cat "$work/openbox.log" >&2
    exit 1
fi

export QT_QPA_PLATFORM=xcb
"$@"
