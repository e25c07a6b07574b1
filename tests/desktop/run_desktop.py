#!/usr/bin/python3
# The real program on a desktop as a keyboard user with a screen reader meets it: an X
# server (Xvfb), a window manager (openbox), a D-Bus session bus with the accessibility
# bus, real key presses through the X server (xdotool), and the window read through
# AT-SPI (pyatspi) as a screen reader reads it.
#
# The test is one table of steps: the keys pressed, then the control that must have the
# focus (role and name), and what a screen reader must (or must not) have been told.
# Every wait is for a condition with a time limit; every process started here is ended
# however the test ends.
#
#   run_desktop.py PROGRAM             runs the steps
#   run_desktop.py PROGRAM --tree      prints the window's accessible tree after a search
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import GLib  # noqa: E402

LIMIT = 10.0  # seconds any single condition may take to come true


class Failure(Exception):
    pass


def until(what, condition, limit=LIMIT):
    """Runs condition (pumping accessibility events) until it returns a true value."""
    end = time.monotonic() + limit
    while True:
        pump()
        value = condition()
        if value:
            return value
        if time.monotonic() > end:
            raise Failure("timed out waiting for " + what)
        time.sleep(0.02)


def pump():
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


class Desktop:
    """Xvfb, openbox, a session bus and the accessibility bus, in a directory of their own."""

    def __init__(self):
        self.work = tempfile.mkdtemp(prefix="zirpel-desktop-")
        self.groups = []  # process groups to end
        self.env = dict(os.environ)
        for name in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "WAYLAND_DISPLAY",
                     "XDG_RUNTIME_DIR", "SESSION_MANAGER"):
            self.env.pop(name, None)
        home = os.path.join(self.work, "home")
        runtime = os.path.join(self.work, "run")
        os.makedirs(os.path.join(home, ".config", "Quillmark"))
        os.makedirs(runtime, mode=0o700)
        self.env.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                        XDG_RUNTIME_DIR=runtime, NO_AT_BRIDGE="0", GTK_MODULES="",
                        LC_ALL="C.UTF-8")
        self.home = home

    def spawn(self, args, **kwargs):
        process = subprocess.Popen(args, env=self.env, start_new_session=True,
                                   stdin=subprocess.DEVNULL, **kwargs)
        self.groups.append(process)
        return process

    def start(self):
        # The server picks a free display and says which; -noreset keeps it up while no
        # client is connected.
        read_end, write_end = os.pipe()
        self.spawn(["Xvfb", "-displayfd", str(write_end), "-noreset", "-nolisten", "tcp",
                    "-screen", "0", "1280x1024x24"], pass_fds=(write_end,),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise Failure("Xvfb did not start")
        self.env["DISPLAY"] = ":" + number
        ready = os.path.join(self.work, "wm-ready")
        self.spawn(["openbox", "--sm-disable", "--startup", "touch " + ready],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        until("openbox", lambda: os.path.exists(ready))
        bus = self.spawn(["dbus-daemon", "--session", "--nofork", "--nopidfile",
                          "--print-address=1"], stdout=subprocess.PIPE, text=True)
        address = bus.stdout.readline().strip()
        if not address:
            raise Failure("no session bus")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        self.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # This process reads the window through the same buses.
        os.environ.update(self.env)

    def stop(self):
        for process in reversed(self.groups):
            try:
                os.killpg(process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            process.wait()
        shutil.rmtree(self.work, ignore_errors=True)

    def key(self, *keys):
        subprocess.run(["xdotool", "key", "--clearmodifiers", "--delay", "30", *keys],
                       env=self.env, check=True)

    def type(self, text):
        subprocess.run(["xdotool", "type", "--clearmodifiers", "--delay", "20", text],
                       env=self.env, check=True)


# ---- what a screen reader sees -------------------------------------------------------
import pyatspi  # noqa: E402  (after the buses are known: it connects on first use)


def describe(acc):
    """role 'name' of an accessible object, as the steps write it."""
    try:
        return "%s '%s'" % (acc.getRoleName(), acc.name)
    except Exception:  # the object is gone
        return "(gone)"


class Reader:
    """Collects the events a screen reader gets and knows the focused object."""

    def __init__(self):
        self.events = []
        self.focus = None
        pyatspi.Registry.registerEventListener(self.on_event, "object", "focus", "window")

    def on_event(self, event):
        try:
            source = describe(event.source)
        except Exception:
            source = "(gone)"
        kind = event.type
        if kind.startswith("object:state-changed:focused") and event.detail1 == 1:
            self.focus = event.source
        if kind.startswith("focus:"):
            self.focus = event.source
        self.events.append((kind, source, event.detail1, str(event.any_data)))

    def take(self):
        pump()
        events, self.events = self.events, []
        return events


def find(root, role, name, depth=0):
    """The first object of that role and name under root; tables and lists are not
    searched cell by cell."""
    for child in root:
        if child is None:
            continue
        if child.getRoleName() == role and (name is None or child.name == name):
            return child
        if child.getRoleName() not in ("table", "list", "menu bar") and depth < 12:
            found = find(child, role, name, depth + 1)
            if found:
                return found
    return None


def tree(acc, indent=0, out=None):
    """The accessible tree as a screen reader walks it: role, name, description, focus."""
    out = [] if out is None else out
    state = acc.getState()
    if not state.contains(pyatspi.STATE_SHOWING) and indent > 0:
        return out
    line = "  " * indent + describe(acc)
    if acc.description:
        line += " (%s)" % acc.description
    if state.contains(pyatspi.STATE_FOCUSED):
        line += " FOCUSED"
    if acc.getRoleName() in ("table", "list"):
        line += " [%d children]" % acc.childCount
        out.append(line)
        return out
    out.append(line)
    for child in acc:
        if child is not None:
            tree(child, indent + 1, out)
    return out
