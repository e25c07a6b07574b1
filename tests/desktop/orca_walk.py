#!/usr/bin/python3
# Walks Zirpel as an Orca user does, prints what Orca said at each step and fails when a
# step was not heard as it must be. On the desktop test's own desktop, with Orca,
# speech-dispatcher and espeak-ng (scripts/setup-deps); speech goes to ALSA's null
# device, and Orca writes each utterance to its debug log as a "SPEECH OUTPUT" line (key
# echo left out here).
#   orca_walk.py PROGRAM [LOG]     LOG keeps Orca's whole debug log
# A step ends once what it must say was heard, or its time is up, and Orca has been
# silent for a while since. DESKTOP_ALL=1 goes on after a failed step.
import os
import pty
import re
import shutil
import subprocess
import sys
import termios
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import run_desktop  # noqa: E402
from run_desktop import Desktop, Failure, until  # noqa: E402

QUIET = 0.7  # seconds without speech that end a step once it was heard
LIMIT = 30.0  # seconds a step's speech may take on a busy machine
MENUS = [("alt+h", "Hilfe"), ("alt+d", "Datei")] * 10
# Each step: its name, the keys, what Orca must have said (a pattern searched in its
# utterances since the keys, joined by " | "); entry: the search entry's text after it.
STEPS = [("start", "", r"Öffnen push button\.")] + [
    step for keys, menu in MENUS for step in (
        ("menu " + menu + " (opened on its name)", keys, "^" + menu + r"\.$"),
        # Escape goes back to the menu bar, still on the menu's name; a second Escape
        # pressed at once would go to the closed menu.
        ("to the menu bar", "Escape", r""),
        ("back from the menu bar", "Escape", r"^Öffnen push button\.$"))] + [
    ("menu Datei", "alt+d", r"Datei\."),
    ("recent file 1", "1", r"Dateiinhalt\. .*00000000\. \| 00\."),
    ("arrow down", "Down", r"00000010\. \| 10\."),
    ("edit panel", "ctrl+e", r"10\."),
    ("load the row (Return)", "Return", r"Bearbeitungszeile 00000010"),
    ("type 41 into the first byte", "4 1", r"4"),
    ("to Übernehmen", "ctrl+Tab", r"Übernehmen push button"),
    ("write the row", "space", r"Dateiinhalt.*00000010\. \| 41\."),
    ("arrow right", "Right", r"11\."),
    ("search panel (Ctrl+F)", "ctrl+f", r"Suchen / Ersetzen panel\. \| Suchen nach: editable"),
    ("search without hit", "type:fe01 Return", r"0 Treffer"),
    ("Alt+E: Ersetzen is disabled", "ctrl+a type:4142 alt+e", r"", "4142"),
    ("search with hits", "Return", r"Treffer.*4 Treffer"),
    ("third hit", "Down Down Down", r"00000241.*Treffer 3 von 4"),
    ("to the table, on the hit", "ctrl+e", r"00000241\. \| 41\."),
    ("Alt+H: the panel's Hilfe", "ctrl+f alt+h", r"Zirpel-Hilfe.*Suchen und Ersetzen"),
    ("close the help", "Escape", r"Zirpel  \["),
]


class Speech:
    """Orca's debug log. Orca writes a terminal line by line (a file only in blocks), so it
    gets one, read here by a thread."""

    def __init__(self, path):
        self.master, slave = pty.openpty()
        attributes = termios.tcgetattr(slave)
        attributes[1] &= ~termios.OPOST  # no carriage returns added
        termios.tcsetattr(slave, termios.TCSANOW, attributes)
        self.terminal, self.slave = os.ttyname(slave), slave
        self.said, self.seen, self.lock = [], 0, threading.Lock()
        threading.Thread(target=self.read, args=(path,), daemon=True).start()

    def read(self, path):
        rest = b""
        with open(path, "wb") as out:
            while True:
                try:
                    chunk = os.read(self.master, 65536)
                except OSError:
                    return
                out.write(chunk)
                *lines, rest = (rest + chunk).split(b"\n")
                for line in lines:
                    found = re.search(r"SPEECH OUTPUT: '(.*)'\s*(\{|$)", line.decode(errors="replace"))
                    if found and not found.group(1).endswith(" "):  # key echo ends in a blank
                        with self.lock:
                            self.said.append(found.group(1))

    def count(self):
        with self.lock:
            return len(self.said)

    def heard(self, pattern):
        """What Orca said since the last call, once it matches the pattern (or the time is
        up) and Orca has been quiet for a while."""
        end, said = time.monotonic() + LIMIT, ""
        while time.monotonic() < end and not re.search(pattern, said):
            time.sleep(0.1)
            with self.lock:
                said = " | ".join(self.said[self.seen:])
        count, since = self.count(), time.monotonic()
        while time.monotonic() - since < QUIET:
            time.sleep(0.1)
            if self.count() != count:
                count, since = self.count(), time.monotonic()
        with self.lock:
            said, self.seen = " | ".join(self.said[self.seen:]), len(self.said)
        return said


def main():
    program = os.path.abspath(sys.argv[1])
    desktop = Desktop()
    try:
        desktop.start()

        def x(*args):
            return subprocess.run(args, env=desktop.env, capture_output=True,
                                  text=True).stdout.split()

        config = os.path.join(desktop.env["XDG_CONFIG_HOME"], "speech-dispatcher")
        shutil.copytree("/etc/speech-dispatcher", config)
        with open(os.path.join(config, "speechd.conf"), "a") as f:
            f.write('\nAudioOutputMethod "alsa"\nAudioALSADevice "null"\n'
                    'DefaultModule espeak-ng\nDefaultLanguage "de"\n')
        with open(os.path.join(desktop.home, ".asoundrc"), "w") as f:
            f.write("pcm.!default { type null }\nctl.!default { type hw card 0 }\n")
        data = os.path.join(desktop.work, "data.bin")
        content = bytearray(range(256)) * 4
        with open(data, "wb") as f:
            f.write(content)
        with open(os.path.join(desktop.home, ".config", "Quillmark", "Zirpel.json"), "w") as f:
            f.write('{"Datei1": "%s", "Datei2": "", "Datei3": "", "Datei4": ""}' % data)
        speech = Speech(os.path.join(desktop.work, "orca.log"))
        desktop.env.update(QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
        desktop.spawn(["orca", "--replace", "--debug-file=" + speech.terminal],
                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        until("Orca", lambda: speech.count() > 0, limit=4 * LIMIT)  # slow to start when busy
        speech.heard("$")
        desktop.spawn([program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # Active for the window manager and for the program: a key before that goes astray.
        until("the window", lambda: [w for w in x("xprop", "-root", "_NET_ACTIVE_WINDOW")
                                     if w.startswith("0x") and str(int(w, 16)) in
                                     x("xdotool", "search", "--name", "^Zirpel")], LIMIT)
        app = until("the program on the accessibility bus", run_desktop.accessible_app, LIMIT)
        until("it active", lambda: app[0].getState().contains(run_desktop.pyatspi.STATE_ACTIVE))
        failed = None
        for name, keys, pattern, *entry in STEPS:
            for key in keys.split():
                if key.startswith("type:"):
                    for letter in key[5:]:  # as a user types: xdotool's pace loses some
                        desktop.key(letter)
                        time.sleep(0.25)
                else:
                    desktop.key(key)
            said = speech.heard(pattern)
            if entry:  # read as it is, not as Orca heard it
                combo = run_desktop.find(app, "combo box", "Suchen nach:")
                said += " [entry: %s]" % combo[0].queryText().getText(0, -1)
                pattern += re.escape("[entry: %s]" % entry[0])
            print("%-36s %-24s %s" % (name, keys, said or "(nothing)"), flush=True)
            if not re.search(pattern, said):
                failed = failed or "FAIL: %s: not heard /%s/" % (name, pattern)
                if not os.environ.get("DESKTOP_ALL"):
                    break
        content[0x10] = 0x41  # typed into the row's first byte and written
        with open(data, "rb") as f:
            if f.read() != content:
                failed = failed or "FAIL: the file holds other bytes than the one written"
        if len(sys.argv) > 2:
            shutil.copy(os.path.join(desktop.work, "orca.log"), sys.argv[2])
        if failed:
            print(failed)
            return 1
    except Failure as error:
        print("FAIL:", error)
        return 1
    finally:
        desktop.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
