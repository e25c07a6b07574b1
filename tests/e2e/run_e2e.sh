#!/usr/bin/env bash
# The real program in a real X server: it starts, shows a window titled "Zirpel []",
# and ends with exit code 0 through "&Beenden" in the file menu.
set -euo pipefail

inner() {
    "$exe" &
    pid=$!
    wid=""
    for _ in $(seq 1 100); do
        wid="$(xdotool search --name '^Zirpel \[\]$' 2>/dev/null | head -n 1 || true)"
        [ -n "$wid" ] && break
        sleep 0.1
    done
    if [ -z "$wid" ]; then
        echo "no window titled 'Zirpel []'" >&2
        kill "$pid" 2>/dev/null || true
        return 1
    fi
    echo "window $wid: $(xdotool getwindowname "$wid")"
    xdotool windowfocus --sync "$wid" || true
    sleep 0.3
    # Alt+D opens "&Datei", B chooses "&Beenden".
    xdotool key --clearmodifiers alt+d
    sleep 0.3
    xdotool key b
    for _ in $(seq 1 100); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            status=$?
            echo "program ended with $status"
            [ "$status" -eq 0 ] || return 1
            [ -f "$XDG_CONFIG_HOME/Quillmark/Zirpel.json" ] && echo "settings written"
            return 0
        fi
        sleep 0.1
    done
    echo "program did not end through &Beenden" >&2
    kill "$pid" 2>/dev/null || true
    return 1
}
if [ "${1:-}" = "--inner" ]; then
    exe="$2"
    inner
    exit $?
fi

exe="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# A settings store of its own: never the user's.
export XDG_CONFIG_HOME="$work/config"
export HOME="$work"
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --inner "$exe"
