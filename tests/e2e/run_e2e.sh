#!/usr/bin/env bash
# The real program in a real X server with a window manager (openbox), as a user sees it:
# - it starts centred at its outer size 250 x 200, and its frame is never shown at
#   another size or place on the way there;
# - its window class is the one its desktop entry names;
# - it shows "Zirpel []", opens the stored recent file and draws grid lines between the
#   table's cells;
# - the about box has the outer size 407 x 298 at 248, 105 and its logo inside its panel;
# - the application's message box is centred on the screen;
# - a window that grows past the screen's right edge is moved back inside;
# - it ends with exit code 0 through "&Beenden" and has written its place;
# - started again before any window manager runs, it takes its stored place and outer
#   size once a window manager has come up and framed it.
# Every wait is for a condition, with a time limit.
set -euo pipefail

fail() {
    echo "FAIL: $*" >&2
    return 1
}

# Runs a condition every 50 ms until it holds, for at most $1 seconds.
until_true() {
    local tries=$(($1 * 20))
    shift
    until "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.05
    done
}

visible() {
    [ -n "$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)" ]
}

gone() {
    ! visible "$1"
}

ended() {
    ! kill -0 "$pid" 2>/dev/null
}

# Waits for a shown window whose name matches; prints its id.
window() {
    until_true 10 visible "$1" || fail "no window named '$1'" || return 1
    xdotool search --onlyvisible --name "$1" | awk "NR == 1"
}

# The inner top left of a window: "x y".
origin() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
        END {print x, y}'
}

# The outer rectangle of a window, its frame included: "x y width height".
outer() {
    local x y w h l=0 r=0 t=0 b=0 extents
    read -r x y w h < <(xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $4}
        /Absolute upper-left Y/ {y = $4} /  Width/ {w = $2} /  Height/ {h = $2}
        END {print x, y, w, h}')
    # left, right, top, bottom; none before a window manager has framed the window
    extents="$(xprop -id "$1" _NET_FRAME_EXTENTS)"
    if [[ "$extents" == *=* ]]; then
        read -r l r t b <<<"$(sed 's/.*= //; s/,//g' <<<"$extents")"
    fi
    echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}

outer_is() {
    [ "$(outer "$1")" = "$2" ]
}

framed() {
    [[ "$(xprop -id "$1" _NET_FRAME_EXTENTS)" == *=* ]]
}

# Pixels of a rectangle of a window's inner area ("X Y W H"), one "x y #RRGGBB" a line in
# the window's coordinates: only the pixels a check needs are read.
pixels() {
    import -window "$1" -crop "${4}x${5}+${2}+${3}" +repage -depth 8 txt:- |
        awk -v dx="$2" -v dy="$3" 'NR > 1 {split($1, p, /[,:]/); print p[1] + dx, p[2] + dy, substr($3, 1, 7)}'
}

# The top of the table in a window: the first of its first 200 rows that is black from
# x 1 on for the table's width (its frame). Each row is averaged to one pixel, which is
# black only where the whole row is. The whole output is read: a reader that stops early
# would fail the pipe.
tabletop() {
    import -window "$1" -crop "${2}x200+1+0" +repage miff:- |
        convert - -scale '1x200!' -depth 8 txt:- |
        awk '!found && NR > 1 && substr($3, 1, 7) == "#000000" {split($1, p, /[,:]/); print p[2]; found = 1}
            END {exit !found}'
}

# Holds once the table of that width is drawn in the window; keeps its top in $work.
table_drawn() {
    tabletop "$1" "$2" >"$work/top.txt"
}

# The frame window's geometries ("x,y wxh") as the root window saw them configured.
frame_geometries() {
    local frame
    frame="$(xwininfo -id "$1" -tree | awk '/Parent window id/ {print $4}')"
    awk -v f="$frame" 'BEGIN {RS = ""} /ConfigureNotify/ && $0 ~ ("window " f ",") {
            match($0, /\(-?[0-9]+,-?[0-9]+\), width [0-9]+, height [0-9]+/)
            s = substr($0, RSTART, RLENGTH); gsub(/[(),]|width |height /, " ", s)
            split(s, g, " "); if (g[3] > 1) print g[1] "," g[2], g[3] "x" g[4]
        }' "$work/root-events.txt" | uniq
}

# Starts openbox and waits until it manages windows.
start_wm() {
    rm -f "$work/wm-ready"
    openbox --sm-disable --startup "touch $work/wm-ready" >/dev/null 2>&1 &
    wm=$!
    until_true 5 test -f "$work/wm-ready" || fail "openbox did not start" || return 1
}

# "&Beenden" through the keyboard (Alt+D opens "&Datei"); the program must end with 0.
quit() {
    xdotool windowfocus --sync "$1" || true
    xdotool key --clearmodifiers alt+d b
    until_true 10 ended || fail "program did not end through &Beenden" || return 1
    local status=0
    wait "$pid" || status=$?
    echo "program ended with $status"
    [ "$status" -eq 0 ] || fail "exit code $status"
}

first_run() {
    start_wm
    # Every frame the window manager configures, from before the program starts: xev
    # listens once it reports a property set on the root window.
    stdbuf -oL xev -root -event substructure -event property >"$work/root-events.txt" 2>&1 &
    xev=$!
    xev_listens() {
        xprop -root -f ZIRPEL_E2E 8s -set ZIRPEL_E2E ready &&
            grep -q ZIRPEL_E2E "$work/root-events.txt"
    }
    until_true 5 xev_listens || fail "xev does not listen"
    "$exe" &
    pid=$!
    wid="$(window '^Zirpel \[\]$')"
    echo "window $wid: $(xdotool getwindowname "$wid")"
    # The desktop links the window to its menu entry by the class.
    local class entry
    class="$(xprop -id "$wid" WM_CLASS | sed 's/.*", "//; s/"$//')"
    entry="$(sed -n 's/^StartupWMClass=//p' "$desktop_file")"
    [ "$class" = "$entry" ] || fail "window class '$class', desktop entry says '$entry'"

    local want="$(((1280 - 250) / 2)) $(((1024 - 200) / 2)) 250 200"
    until_true 5 outer_is "$wid" "$want" || fail "outer rectangle $(outer "$wid"), expected $want"
    echo "outer rectangle without a file: $(outer "$wid")"
    # Everything the user saw of the frame.
    local seen
    seen="$(frame_geometries "$wid")"
    echo "frame configured as:" $seen
    [ "$seen" = "$(((1280 - 250) / 2)),$(((1024 - 200) / 2)) 250x200" ] ||
        fail "the frame was shown at another size or place before settling"

    # The stored first recent file, then grid lines through their tool button, which
    # stands 19 pixels above the table's top, 209 from the left.
    xdotool windowfocus --sync "$wid" || true
    xdotool key --clearmodifiers alt+d 1
    window '^Zirpel  \[.*data\.bin\]$' >/dev/null
    until_true 5 table_drawn "$wid" 488 || fail "no table (488 wide) drawn"
    local x y top
    read -r x y < <(origin "$wid")
    top="$(cat "$work/top.txt")"
    xdotool mousemove "$((x + 209))" "$((y + top - 19))" click 1
    until_true 5 table_drawn "$wid" 504 || fail "no table (504 wide) drawn"
    # In data row 2, the line right of byte column 2 and the line under the row must
    # differ from the pixels of the cells beside them.
    local vx=2 vy=$((top + 1))
    local row=$((vy + 2 * 17)) col3=$((vx + 67 + 2 * 19))
    pixels "$wid" "$((col3 - 1))" "$row" 19 17 >"$work/pixels.txt"
    awk -v row="$row" -v col3="$col3" -v top="$top" '
        {c[$1 "," $2] = $3}
        END {
            bad = 0
            for (y = row; y < row + 16; ++y)
                if (c[(col3 - 1) "," y] == c[col3 "," y]) ++bad
            for (x = col3; x < col3 + 18; ++x)
                if (c[x "," (row + 16)] == c[x "," (row + 15)]) ++bad
            print "table at y " top ", line colour " c[(col3 - 1) "," row] ", cell colour " c[col3 "," row]
            if (bad > 0) {print "FAIL: " bad " grid line pixels look like their cells"; exit 1}
        }' "$work/pixels.txt"

    about_box
    message_box "$wid" "$top"
    growth "$wid" "$top"

    local place
    read -r -a place < <(outer "$wid")
    quit "$wid"
    kill "$xev" 2>/dev/null || true
    local settings="$XDG_CONFIG_HOME/Quillmark/Zirpel.json"
    [ -f "$settings" ] || fail "no settings written"
    for value in "frmLeft ${place[0]}" "frmTop ${place[1]}" "frmWidth ${place[2]}" \
        "frmHeight ${place[3]}"; do
        read -r name number <<<"$value"
        grep -Eq "\"$name\": *$number(,|\$)" "$settings" ||
            fail "settings hold no $name $number: $(tr -d '\n' <"$settings")"
    done
    echo "settings written with the place ${place[*]}"
    kill "$wm"
    wait "$wm" || true
    stored=("${place[@]}")
}

# The about box: its outer rectangle; the red mark and the black name (with the version
# line below it), right of the picture, inside PanelAbout (8, 10, 385 x 223), the mark
# right of the name.
about_box() {
    xdotool key --clearmodifiers alt+h o
    local about
    about="$(window '^FrmAbout$')"
    until_true 5 outer_is "$about" "248 105 407 298" ||
        fail "about box at $(outer "$about"), expected 248 105 407 298"
    echo "about box: $(outer "$about")"
    box() {
        convert "$work/about.png" -crop 220x110+180+0 +repage -fuzz 25% -fill white \
            +opaque "$1" -format '%@' info: 2>/dev/null |
            awk -F'[x+]' '$1 > 1 {print $3 + 180, $4, $1 + $3 + 179, $2 + $4 - 1}'
    }
    logo_drawn() {
        import -window "$about" "$work/about.png" && [ -n "$(box red)" ]
    }
    until_true 5 logo_drawn || fail "no red mark"
    read -r rx0 ry0 rx1 ry1 < <(box red)
    read -r kx0 ky0 kx1 ky1 < <(box black) || fail "no name"
    echo "name $kx0,$ky0-$kx1,$ky1, mark $rx0,$ry0-$rx1,$ry1"
    if [ "$kx0" -lt 10 ] || [ "$ky0" -lt 12 ] || [ "$rx1" -gt 390 ] || [ "$ry0" -lt 12 ] ||
        [ "$rx0" -lt "$((kx1 - 2))" ]; then
        fail "logo outside its panel or mark not right of the name"
    fi
    xdotool key Escape
    until_true 5 gone '^FrmAbout$' || fail "about box did not close"
}

# An odd number of hex digits searched for: the message box comes centred. The search
# tool button stands 73 from the left; "Suchen nach:" in the panel under the table.
message_box() {
    local x y top="$2" box
    read -r x y < <(origin "$1")
    xdotool mousemove "$((x + 73))" "$((y + top - 19))" click 1
    until_true 5 table_drawn "$1" 504 || fail "table gone after the search panel"
    xdotool mousemove "$((x + 290))" "$((y + top - 32 + 327 + 31))" click 1
    xdotool key --clearmodifiers ctrl+a A alt+s
    box="$(window '^Zirpel$')"
    local w h
    read -r _ _ w h < <(outer "$box")
    local want="$(((1280 - w) / 2)) $(((1024 - h) / 2)) $w $h"
    until_true 5 outer_is "$box" "$want" || fail "message box at $(outer "$box"), expected $want"
    echo "message box: $(outer "$box")"
    xdotool key Return
    until_true 5 gone '^Zirpel$' || fail "message box did not close"
}

# The window is moved to 50 pixels left of the screen's right edge; four more columns
# ("Spalten:" stepped up) would carry it past the edge, so it comes back inside with its
# top where it was.
growth() {
    local x y w h top="$2"
    read -r _ _ w h < <(outer "$1")
    xdotool windowmove "$1" "$((1280 - 50 - w))" 100
    at_left() {
        [ "$(origin "$1" | cut -d" " -f1)" -eq "$2" ]
    }
    until_true 5 at_left "$1" "$((1280 - 50 - w))" || fail "window not moved: $(outer "$1")"
    local before
    read -r -a before < <(outer "$1")
    read -r x y < <(origin "$1")
    xdotool mousemove "$((x + 380))" "$((y + top - 32 + 12))" click 1
    xdotool key Up
    grown() {
        local now
        read -r -a now < <(outer "$1")
        [ "${now[2]}" -gt "$w" ] && [ "$((now[0] + now[2]))" -eq 1280 ] &&
            [ "${now[1]}" -eq "${before[1]}" ]
    }
    until_true 5 grown "$1" ||
        fail "grown window at $(outer "$1"), expected inside the screen's right edge, top ${before[1]}"
    echo "grown from ${before[*]} to $(outer "$1")"
}

second_run() {
    "$exe" &
    pid=$!
    local wid want="${stored[0]} ${stored[1]} 250 200"
    wid="$(window '^Zirpel \[\]$')"
    until_true 5 outer_is "$wid" "$want" || fail "without a window manager at $(outer "$wid")"
    # The window manager comes up a second after the window was shown.
    sleep 1
    start_wm
    until_true 5 framed "$wid" || fail "never framed"
    until_true 5 outer_is "$wid" "$want" ||
        fail "framed late at $(outer "$wid"), expected $want"
    echo "framed late: $(outer "$wid")"
    quit "$wid"
    kill "$wm"
}

inner() {
    trap 'kill ${pid:-} ${wm:-} ${xev:-} 2>/dev/null || true' EXIT
    first_run
    second_run
}

if [ "${1:-}" = "--inner" ]; then
    exe="$2"
    work="$3"
    inner
    exit $?
fi

exe="$1"
export desktop_file
desktop_file="$(cd "$(dirname "$0")/../../packaging" && pwd)/example.quill.zirpel.desktop"
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
# A server of its own on a free display. -noreset: it stays up when its last client
# leaves, so the next one never races a reset.
exec {displayfd}<> <(:)
Xvfb -displayfd "$displayfd" -noreset -nolisten tcp -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
read -r -t 20 -u "$displayfd" number || { echo "FAIL: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$number"
"$0" --inner "$exe" "$work"
