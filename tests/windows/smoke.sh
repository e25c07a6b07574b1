#!/usr/bin/env bash
# The Windows program as a user gets it, under Wine with the windows platform, run inside
# an X server (xvfb-run) with openbox:
#   an earlier version's installer puts it into the folder given, with a Start-menu entry
#   and its entry under "Programs and Features"; this version's installs over it into the
#   folder it remembers, and removes what only the earlier version had; the program starts and shows "Zirpel []", opens a file through the real
#   dialog (caption with the Windows path), writes a byte through the edit row; while it
#   runs, neither the installer nor the uninstaller replaces or removes it; it ends
#   through "&Beenden", leaving its settings in the registry as strings and 32-bit
#   integers; the uninstaller removes what was installed and leaves the settings.
#   smoke.sh SETUP.EXE OLDER-SETUP.EXE   (WINEPREFIX as prepared by scripts/test-windows)
set -euo pipefail
setup="$1"
older="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Waits up to 20 s for what the command tests.
wait_for() {
  for _ in $(seq 1 200); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

window_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true; }
has_window() { [ -n "$(window_named "$1")" ]; }

openbox --sm-disable >/dev/null 2>&1 &
wm=$!
trap 'kill "$wm" 2>/dev/null || true; wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
wait_for sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window' ||
  fail "openbox did not start"

# Install, as an administrator would, without questions, into a folder of the user's
# choice (/D= comes last, without quotes).
drive_c="$WINEPREFIX/drive_c"
installed="$drive_c/Programme/Zirpel"
menu_entry="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Zirpel.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zirpel'
wine "$older" /S '/D=C:\Programme\Zirpel'
wineserver -w
[ -f "$installed/zirpel.exe" ] || fail "zirpel.exe not installed"
[ -f "$installed/Alt.txt" ] && [ -f "$installed/alt/Alt.txt" ] ||
  fail "the earlier version's own files not installed"
[ -f "$installed/Tamsel.hlp" ] || fail "Tamsel.hlp not installed"
[ -f "$menu_entry" ] || fail "no Start-menu entry"
entry="$(wine reg query "$uninstall_key" 2>/dev/null | tr -d '\r')"
for value in 'DisplayName +REG_SZ +Zirpel$' 'DisplayVersion +REG_SZ +[0-9]+\.[0-9]+$' \
  'Publisher +REG_SZ +Quillmark Software$' 'DisplayIcon +REG_SZ +C:\\Programme\\Zirpel\\zirpel\.exe$' \
  'InstallLocation +REG_SZ +C:\\Programme\\Zirpel$' 'EstimatedSize +REG_DWORD +0x[0-9a-f]*[1-9a-f]'; do
  grep -Eq "^ +$value" <<<"$entry" || fail "Programs and Features: no ${value%% *} like '$value' in: $entry"
done
echo "installed: $(find "$installed" -type f | wc -l) files"

# This version over it, without a folder given: into the folder it remembers, and what
# only the earlier version had is gone.
rm "$installed/Tamsel.hlp"
wine "$setup" /S
wineserver -w
[ -f "$installed/Tamsel.hlp" ] || fail "the second installation did not go into the remembered folder"
[ ! -e "$drive_c/Program Files/Zirpel" ] || fail "the second installation went into Program Files"
[ ! -e "$installed/Alt.txt" ] && [ ! -e "$installed/alt" ] ||
  fail "the earlier version's own files left behind: $(ls "$installed")"
echo "installed over: into the remembered folder, the earlier version's own files removed"

# A file in a folder whose name lies outside the ANSI code page.
data="$drive_c/Daten Ω"
mkdir -p "$data"
printf 'ABCDEFGHIJ' >"$data/zehn.bin"
wine reg delete 'HKLM\Software\Quillmark\Zirpel' /f >/dev/null 2>&1 || true

# This run's own program, by its process: another Zirpel on the machine does not count.
running() { [ -n "$(ps -o stat= -p "$1" 2>/dev/null | grep -v '^Z')" ]; }
ended() { ! running "$1"; }
wine "$installed/zirpel.exe" >/dev/null 2>&1 &
zirpel=$!
wait_for has_window '^Zirpel \[\]$' || fail "no window 'Zirpel []'"
wid="$(window_named '^Zirpel \[\]$')"
echo "started: $(xdotool getwindowname "$wid")"
import -window root "$work/start.png"

# Points inside the window's client area, in its own pixels: the table's first byte cell
# (row 0), the edit row's first byte cell and "Übernehmen" below it.
click_at() { xdotool mousemove --window "$wid" "$1" "$2" click --repeat "${3:-1}" --delay 80 1; }
caption_is() { [ "$(xdotool getwindowname "$wid")" = "$1" ]; }

# Ctrl+O: the system's dialog, its name box focused; the full name pasted, then Return.
xdotool windowactivate --sync "$wid"
xdotool key --clearmodifiers ctrl+o
wait_for has_window '^Öffnen Datei$' || fail "no open dialog"
printf '%s' 'C:\Daten Ω\zehn.bin' | xclip -selection clipboard
xdotool key --clearmodifiers ctrl+v
sleep 0.3
xdotool key Return
wait_for caption_is 'Zirpel  [C:\Daten Ω\zehn.bin]' ||
  fail "caption is '$(xdotool getwindowname "$wid")'"
echo "opened: $(xdotool getwindowname "$wid")"
# Under Wine, openbox leaves the focus with the closed system dialog; the user clicks
# into the window (on Windows the system gives the owner the focus back by itself).
xdotool windowactivate --sync "$wid"

# The edit panel (Ctrl+E), row 0 loaded by a double click, 61 typed over 41, written.
xdotool key --clearmodifiers ctrl+e
sleep 0.5
click_at 76 76 2
sleep 0.5
click_at 77 353
xdotool type --delay 50 61
xdotool key Return
click_at 265 387
wait_for sh -c "[ \"\$(cat '$data/zehn.bin')\" = aBCDEFGHIJ ]" ||
  fail "file holds '$(cat "$data/zehn.bin")', not aBCDEFGHIJ"
echo "written: $(cat "$data/zehn.bin")"
import -window root "$work/written.png"

# The help file beside the program, closed with Esc.
xdotool key --clearmodifiers F1
wait_for has_window '^Zirpel-Hilfe$' || fail "no help window"
xdotool key Escape
wait_for sh -c '! xdotool search --onlyvisible --name "^Zirpel-Hilfe$" 2>/dev/null | grep -q .' ||
  fail "help window not closed by Esc"

# While it runs, an upgrade and an uninstall leave it alone: asked to close it (silent:
# cancelled), they stop with exit code 2 and change nothing.
sum="$(sha256sum "$installed/zirpel.exe")"
status=0
wine "$setup" /S || status=$?
[ "$status" -eq 2 ] || fail "the installer over a running Zirpel ended with $status, not 2"
status=0
wine "$installed/uninstall.exe" /S '_?=C:\Programme\Zirpel' || status=$?
[ "$status" -eq 2 ] || fail "the uninstaller of a running Zirpel ended with $status, not 2"
[ "$(sha256sum "$installed/zirpel.exe")" = "$sum" ] && [ -f "$installed/Tamsel.hlp" ] ||
  fail "the files of the running Zirpel were changed"
running "$zirpel" || fail "Zirpel ended during the installer"
echo "running: installer and uninstaller stopped with exit code 2"

# Ctrl+Q, as "&Beenden" in the file menu.
xdotool windowactivate --sync "$wid" 2>/dev/null || true
xdotool key --clearmodifiers ctrl+q

wait_for ended "$zirpel" || {
  import -window root "${ZIRPEL_SMOKE_SHOTS:-$work}/not-ended.png"
  fail "the program did not end"
}
wineserver -w

# The settings as the program left them: strings and 32-bit integers, paths with backslashes.
settings="$(wine reg query 'HKLM\Software\Quillmark\Zirpel' 2>/dev/null | tr -d '\r')"
echo "$settings"
wine reg export 'HKLM\Software\Quillmark\Zirpel' "$(winepath -w "$work/zirpel.reg")" /y >/dev/null
grep -q '"Datei1"="C:\\\\Daten Ω\\\\zehn.bin"' <(iconv -f UTF-16LE -t UTF-8 "$work/zirpel.reg") ||
  fail "Datei1 not stored as C:\\Daten Ω\\zehn.bin"
for name in frmTop frmLeft frmWidth frmHeight HexReihen HexSpalten HexOrDez Gitter; do
  grep -Eq "$name +REG_DWORD +0x" <<<"$settings" || fail "$name not stored as REG_DWORD"
done

# The next start reads them back: the first recent file opens from the file menu.
wine "$installed/zirpel.exe" >/dev/null 2>&1 &
zirpel=$!
wait_for has_window '^Zirpel \[\]$' || fail "no window 'Zirpel []' at the second start"
wid="$(window_named '^Zirpel \[\]$')"
xdotool windowactivate --sync "$wid" 2>/dev/null || true
xdotool key --clearmodifiers alt+d
sleep 0.4
xdotool key 1
wait_for caption_is 'Zirpel  [C:\Daten Ω\zehn.bin]' || fail "recent file not read back"
xdotool key --clearmodifiers ctrl+q
wait_for ended "$zirpel" || fail "the program did not end"
wineserver -w
echo "read back: the recent file opened again"

# Uninstall: everything installed goes, the settings stay.
wine "$installed/uninstall.exe" /S
wineserver -w
wait_for sh -c "[ ! -e '$installed' ]" || fail "left behind: $(find "$installed")"
[ ! -f "$menu_entry" ] || fail "Start-menu entry left behind"
! wine reg query "$uninstall_key" >/dev/null 2>&1 || fail "uninstall entry left behind"
wine reg query 'HKLM\Software\Quillmark\Zirpel' >/dev/null 2>&1 || fail "settings removed"
echo "smoke test passed"
