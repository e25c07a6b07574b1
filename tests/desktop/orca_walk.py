#!/usr/bin/python3
# Walks Zirpel as an Orca user does and prints what Orca said at each step. Not part of
# the tests: Orca, speech-dispatcher and espeak-ng are installed by hand for it
#   apt-get install orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng
# On the desktop test's own desktop; speech goes to ALSA's null device, and Orca writes
# each utterance to its debug log as a "SPEECH OUTPUT" line (key echo left out here).
#   orca_walk.py PROGRAM [LOG]     LOG keeps Orca's whole debug log
# A step ends once Orca has been silent for a while, which no state of the program tells.
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

QUIET = 2.5  # seconds without speech that end a step
STEPS = [
    ("start", ""),
    ("open dialog", "ctrl+o"),
    ("type the path, Return", "ctrl+a type:{data} Return activate"),
    ("arrow down", "Down"),
    ("arrow right", "Right"),
    ("edit panel", "ctrl+e"),
    ("load the row (Return)", "Return"),
    ("to the edit row", "ctrl+Tab Tab Tab"),
    ("type 41 into the first byte", "4 1 Tab"),
    ("to Übernehmen", "ctrl+Tab"),
    ("write the row", "space"),
    ("search panel, to Suchen nach", "ctrl+f ctrl+Tab Tab Tab Tab Tab Tab Tab"),
    ("type ffff", "ctrl+a type:ffff"),
    ("search without hit", "Return"),
    ("type 4142", "ctrl+a type:4142"),
    ("search with hits", "Return"),
    ("first hit", "Down"),
    ("second hit", "Down"),
    ("Neue Suche", "alt+n"),
    ("back from the menu bar", "Escape"),  # under Orca, Alt also reaches the menu bar
    ("F1 in the search panel", "F1"),
    ("line down in the help", "Down"),
    ("next link (Tab)", "Tab"),
    ("follow it (Return)", "Return"),
    ("line down at the target", "Down"),
    ("close the help", "Escape"),
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

    def new(self):
        """What Orca said since the last call, once it has been quiet for QUIET seconds."""
        count, since, end = self.count(), time.monotonic(), time.monotonic() + 30
        while time.monotonic() < end and time.monotonic() - since < QUIET:
            time.sleep(0.1)
            if self.count() != count:
                count, since = self.count(), time.monotonic()
        with self.lock:
            out, self.seen = self.said[self.seen:], len(self.said)
        return out


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
        with open(data, "wb") as f:
            f.write(bytes(range(256)) * 4)
        speech = Speech(os.path.join(desktop.work, "orca.log"))
        desktop.env.update(QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
        desktop.spawn(["orca", "--replace", "--debug-file=" + speech.terminal],
                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        until("Orca", lambda: speech.count() > 0, limit=60)
        speech.new()
        desktop.spawn([program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # Active for the window manager and for the program: a key before that goes astray.
        until("the window", lambda: [w for w in x("xprop", "-root", "_NET_ACTIVE_WINDOW")
                                     if w.startswith("0x") and str(int(w, 16)) in
                                     x("xdotool", "search", "--name", "^Zirpel")])
        app = until("the program on the accessibility bus", run_desktop.accessible_app)
        until("it active", lambda: app[0].getState().contains(run_desktop.pyatspi.STATE_ACTIVE))
        for name, keys in STEPS:
            for key in keys.split():
                if key == "activate":  # should the window manager leave it inactive
                    until("the window active", lambda: x(
                        "xdotool", "search", "--name", "^Zirpel  \\[", "windowactivate",
                        "windowfocus") is not None and app[0].getState().contains(
                            run_desktop.pyatspi.STATE_ACTIVE))
                elif key.startswith("type:"):
                    desktop.type(key[5:].format(data=data))
                else:
                    desktop.key(key)
            said = speech.new()
            print("%-30s %-40s %s" % (name, keys, " | ".join(said) or "(nothing)"), flush=True)
        if len(sys.argv) > 2:
            shutil.copy(os.path.join(desktop.work, "orca.log"), sys.argv[2])
    except Failure as error:
        print("FAIL:", error)
        return 1
    finally:
        desktop.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
