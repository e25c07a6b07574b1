#!/usr/bin/env bash
# The real program in a real X server with a window manager (openbox): it starts
# centred at its outer size 250 x 200, shows "Zirpel []", draws grid lines between the
# table's cells, shows the about box's logo inside its panel, and ends with exit code 0
# through "&Beenden" in the file menu.
set -euo pipefail

fail() {
    echo "FAIL: $*" >&2
    return 1
}

# Waits up to about 5 s for a window whose name matches; prints its id.
window() {
    local id=""
    for _ in $(seq 1 100); do
        id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)"
        [ -n "$id" ] && break
        sleep 0.05
    done
    [ -n "$id" ] || { fail "no window named '$1'"; return 1; }
    echo "$id"
}

# The outer rectangle of a framed window: "x y width height".
outer() {
    local x y w h extents
    read -r x y w h < <(xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $4}
        /Absolute upper-left Y/ {y = $4} /  Width/ {w = $2} /  Height/ {h = $2}
        END {print x, y, w, h}')
    # left, right, top, bottom
    extents="$(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')"
    read -r l r t b <<<"$extents"
    echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}

# Pixels of a window's inner area, one "x y #RRGGBB" a line.
pixels() {
    import -window "$1" "$work/shot.png"
    convert "$work/shot.png" -depth 8 txt:- |
        awk 'NR > 1 {split($1, p, /[,:]/); print p[1], p[2], substr($3, 1, 7)}'
}

# The top of the table in a window's pixels: the first row that is black from x 1 on
# for the table's width (its frame).
tabletop() {
    awk -v width="$1" '
        {c[$1 "," $2] = $3}
        END {
            for (y = 0; y < 200; ++y) {
                for (x = 1; x <= width && c[x "," y] == "#000000"; ++x) {}
                if (x > width) {print y; exit 0}
            }
            exit 1
        }'
}

inner() {
    # The window manager runs its start-up command once it manages windows.
    openbox --sm-disable --startup "touch $work/wm-ready" >/dev/null 2>&1 &
    wm=$!
    trap 'kill "$wm" 2>/dev/null || true' EXIT
    for _ in $(seq 1 100); do
        [ -f "$work/wm-ready" ] && xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window &&
            break
        sleep 0.05
    done
    "$exe" &
    pid=$!
    wid="$(window '^Zirpel \[\]$')" || { kill "$pid"; return 1; }
    echo "window $wid: $(xdotool getwindowname "$wid")"

    # The size and place hold once the window manager has framed the window.
    want="$(((1280 - 250) / 2)) $(((1024 - 200) / 2)) 250 200"
    for _ in $(seq 1 100); do
        [ "$(outer "$wid")" = "$want" ] && break
        sleep 0.05
    done
    echo "outer rectangle without a file: $(outer "$wid")"
    [ "$(outer "$wid")" = "$want" ] || { fail "expected $want"; kill "$pid"; return 1; }

    # The stored first recent file, then grid lines through their tool button, which
    # stands 19 pixels above the table's top (found by its black frame), 209 from the left.
    xdotool windowfocus --sync "$wid" || true
    xdotool key --clearmodifiers alt+d 1
    window '^Zirpel  \[.*data\.bin\]$' >/dev/null || { kill "$pid"; return 1; }
    sleep 0.3
    top="$(pixels "$wid" | tabletop 488)" || { fail "no table (488 wide) found"; kill "$pid"; return 1; }
    read -r x y _ _ < <(xwininfo -id "$wid" | awk '/Absolute upper-left X/ {x = $4}
        /Absolute upper-left Y/ {y = $4} END {print x, y, 0, 0}')
    xdotool mousemove "$((x + 209))" "$((y + top - 19))" click 1
    sleep 0.3
    # In data row 2, the line right of byte column 2 and the line under the row must
    # differ from the pixels of the cells beside them.
    pixels "$wid" >"$work/pixels.txt"
    top="$(tabletop 504 <"$work/pixels.txt")" || { fail "no table (504 wide) found"; kill "$pid"; return 1; }
    awk -v top="$top" '
        {c[$1 "," $2] = $3}
        END {
            vx = 2; vy = top + 1; row = vy + 2 * 17; col3 = vx + 67 + 2 * 19
            bad = 0
            for (y = row; y < row + 16; ++y)
                if (c[(col3 - 1) "," y] == c[col3 "," y]) ++bad
            for (x = col3; x < col3 + 18; ++x)
                if (c[x "," (row + 16)] == c[x "," (row + 15)]) ++bad
            print "table at y " top ", line colour " c[(col3 - 1) "," row] ", cell colour " c[col3 "," row]
            if (bad > 0) {print "FAIL: " bad " grid line pixels look like their cells"; exit 1}
        }' "$work/pixels.txt" || { kill "$pid"; return 1; }

    # The about box: the red mark and the black name (with the version line below it),
    # right of the picture, lie inside PanelAbout (8, 10, 385 x 223), the mark right of
    # the name. box prints the bounding box "x0 y0 x1 y1" of a colour there.
    xdotool key --clearmodifiers alt+h o
    about="$(window '^FrmAbout$')" || { kill "$pid"; return 1; }
    sleep 0.3
    import -window "$about" "$work/about.png"
    box() {
        convert "$work/about.png" -crop 220x110+180+0 +repage -fuzz 25% -fill white \
            +opaque "$1" -format '%@' info: 2>/dev/null |
            awk -F'[x+]' '$1 > 1 {print $3 + 180, $4, $1 + $3 + 179, $2 + $4 - 1}'
    }
    read -r rx0 ry0 rx1 ry1 < <(box red) || { fail "no red mark"; kill "$pid"; return 1; }
    read -r kx0 ky0 kx1 ky1 < <(box black) || { fail "no name"; kill "$pid"; return 1; }
    echo "name $kx0,$ky0-$kx1,$ky1, mark $rx0,$ry0-$rx1,$ry1"
    if [ "$kx0" -lt 10 ] || [ "$ky0" -lt 12 ] || [ "$rx1" -gt 390 ] || [ "$ry0" -lt 12 ] ||
        [ "$rx0" -lt "$((kx1 - 2))" ]; then
        fail "logo outside its panel or mark not right of the name"
        kill "$pid"
        return 1
    fi
    xdotool key Escape
    sleep 0.3

    # Alt+D opens "&Datei", B chooses "&Beenden".
    xdotool windowfocus --sync "$wid" || true
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
    work="$3"
    inner
    exit $?
fi

exe="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# A settings store of its own: never the user's. Without a stored place the window is
# centred.
export XDG_CONFIG_HOME="$work/config"
export HOME="$work"
export QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_CONFIG_HOME/Quillmark"
head -c 1000 /dev/urandom >"$work/data.bin"
cat >"$XDG_CONFIG_HOME/Quillmark/Zirpel.json" <<EOF
{"Datei1": "$work/data.bin", "Datei2": "", "Datei3": "", "Datei4": ""}
EOF
xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --inner "$exe" "$work"
