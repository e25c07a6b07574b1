#!/usr/bin/python3
# Walks Zirpel as an Orca user does and prints, step by step, what Orca said. Not part of
# the test suite: Orca, speech-dispatcher and espeak-ng are installed by hand for it
#   apt-get install orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng
# The desktop is the desktop test's own (Xvfb, openbox, the session and accessibility
# buses); speech goes to ALSA's null device, and Orca writes every utterance to its debug
# log as a "SPEECH OUTPUT" line.
#
#   orca_walk.py PROGRAM [LOG]     LOG keeps Orca's whole debug log
#
# A step is over once Orca has said nothing for a while: this walk waits for Orca's
# silence, which no state of the program tells.
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
    # Under Orca the Alt key also puts the keyboard on the menu bar.
    ("back from the menu bar", "Escape"),
    ("F1 in the search panel", "F1"),
    ("line down in the help", "Down"),
    ("next link (Tab)", "Tab"),
    ("follow it (Return)", "Return"),
    ("line down at the target", "Down"),
    ("close the help", "Escape"),
]


def speech_setup(desktop):
    """speech-dispatcher with espeak-ng, its sound to ALSA's null device."""
    config = os.path.join(desktop.env["XDG_CONFIG_HOME"], "speech-dispatcher")
    shutil.copytree("/etc/speech-dispatcher", config)
    with open(os.path.join(config, "speechd.conf"), "a") as f:
        f.write('\nAudioOutputMethod "alsa"\nAudioALSADevice "null"\n'
                'DefaultModule espeak-ng\nDefaultLanguage "de"\n')
    with open(os.path.join(desktop.home, ".asoundrc"), "w") as f:
        f.write("pcm.!default { type null }\nctl.!default { type hw card 0 }\n")


class SpeechLog:
    """Orca's debug log as Orca writes it. Orca writes a terminal line by line (a file
    only in blocks), so it gets one, and a thread here keeps reading it."""

    def __init__(self, path):
        self.path = path
        self.master, slave = pty.openpty()
        attributes = termios.tcgetattr(slave)
        attributes[1] &= ~termios.OPOST  # lines as written, no carriage returns added
        termios.tcsetattr(slave, termios.TCSANOW, attributes)
        self.terminal = os.ttyname(slave)
        self.slave = slave
        self.said = []  # every utterance so far
        self.seen = 0
        self.lock = threading.Lock()
        threading.Thread(target=self.read, daemon=True).start()

    def read(self):
        rest = b""
        with open(self.path, "wb") as out:
            while True:
                try:
                    chunk = os.read(self.master, 65536)
                except OSError:
                    return
                if not chunk:
                    return
                out.write(chunk)
                out.flush()
                rest += chunk
                *lines, rest = rest.split(b"\n")
                for line in lines:
                    # Key echo ends in a blank ("tab "); the rest is what Orca says.
                    found = re.search(r"SPEECH OUTPUT: '(.*)'\s*(\{|$)",
                                      line.decode("utf-8", "replace"))
                    if found and not found.group(1).endswith(" "):
                        with self.lock:
                            self.said.append(found.group(1))

    def count(self):
        with self.lock:
            return len(self.said)

    def new(self):
        """What Orca said since the last call, once it has been quiet for QUIET seconds."""
        count, since = self.count(), time.monotonic()
        end = since + 30
        while time.monotonic() < end:
            time.sleep(0.1)
            if self.count() != count:
                count, since = self.count(), time.monotonic()
            elif time.monotonic() - since > QUIET:
                break
        with self.lock:
            out, self.seen = self.said[self.seen:], len(self.said)
        return out


def main():
    program = os.path.abspath(sys.argv[1])
    keep = os.path.abspath(sys.argv[2]) if len(sys.argv) > 2 else None
    desktop = Desktop()
    try:
        desktop.start()
        speech_setup(desktop)
        data = os.path.join(desktop.work, "data.bin")
        with open(data, "wb") as f:
            f.write(bytes(range(256)) * 4)
        with open(os.path.join(desktop.home, ".config", "Quillmark", "Zirpel.json"), "w") as f:
            f.write('{"Datei1": "%s", "Datei2": "", "Datei3": "", "Datei4": ""}' % data)
        log = os.path.join(desktop.work, "orca.log")
        speech = SpeechLog(log)
        desktop.env.update(QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                           LANG="de_DE.UTF-8", LC_ALL="C.UTF-8")
        errors = open(os.path.join(desktop.work, "orca.err"), "w")
        desktop.spawn(["orca", "--replace", "--debug-file=" + speech.terminal],
                      stdout=errors, stderr=errors)
        until("Orca", lambda: speech.count() > 0, limit=60)
        speech.new()
        desktop.spawn([program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        def active():
            # The window manager has made the window the active one: a menu opened before
            # that closes again.
            def x(*args):
                return subprocess.run(args, env=desktop.env, capture_output=True,
                                      text=True).stdout.split()
            found, now = x("xdotool", "search", "--name", "^Zirpel"), x(
                "xprop", "-root", "_NET_ACTIVE_WINDOW")
            return found and now and now[-1].startswith("0x") and \
                int(now[-1], 16) in map(int, found)

        until("the window", active)
        app = until("the program on the accessibility bus", run_desktop.accessible_app)
        until("the window active", lambda: app[0].getState().contains(
            run_desktop.pyatspi.STATE_ACTIVE))
        for name, keys in STEPS:
            for key in keys.split():
                if key == "activate":
                    # The main window active again, should the window manager have left it
                    # inactive after the dialog.
                    subprocess.run(["xdotool", "search", "--name", "^Zirpel  \\[",
                                    "windowactivate", "--sync", "windowfocus", "--sync"],
                                   env=desktop.env)
                elif key.startswith("type:"):
                    desktop.type(key[5:].format(data=data))
                else:
                    desktop.key(key)
            said = speech.new()
            print("%-30s %-40s %s" % (name, keys, " | ".join(said) if said else "(nothing)"))
            sys.stdout.flush()
        if keep:
            shutil.copy(log, keep)
    except Failure as error:
        print("FAIL:", error)
        for name in ("orca.err", "orca.log"):
            path = os.path.join(desktop.work, name)
            if os.path.exists(path):
                print(open(path, errors="replace").read()[-3000:])
        return 1
    finally:
        desktop.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
