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
#   run_desktop.py PROGRAM             runs the steps twice: first with no listener on
#                                      the accessibility bus (the focus read from the
#                                      objects' states), then listening to its events
#   run_desktop.py PROGRAM --tree      also prints the window's accessible tree after the
#                                      search
# DESKTOP_ALL=1 goes on after a failed step, DESKTOP_EVENTS=1 prints what each step was
# heard to do, DESKTOP_STEPS=N runs the first N steps.
import ctypes
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


def die_with_parent():
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGKILL)


def stop_on_signal(number, frame):
    # One signal ends the test through its cleanup; more of them wait for it.
    for other in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(other, signal.SIG_IGN)
    raise Failure("ended by signal %d" % number)


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
        # Each in a process group of its own, ended with it; should this script be killed
        # outright, the kernel ends them.
        process = subprocess.Popen(args, env=self.env, start_new_session=True,
                                   stdin=subprocess.DEVNULL, preexec_fn=die_with_parent,
                                   **kwargs)
        self.groups.append(process)
        return process

    def start(self):
        # The server picks a free display and says which; -noreset keeps it up while no
        # client is connected.
        read_end, write_end = os.pipe()
        # A key that a step holds down does not repeat.
        self.spawn(["Xvfb", "-displayfd", str(write_end), "-noreset", "-nolisten", "tcp",
                    "-ardelay", "60000", "-screen", "0", "1280x1024x24"], pass_fds=(write_end,),
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
                          "--print-address=1"], stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL, text=True)
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
    """Collects the events a screen reader gets and knows the focused object. Not
    listening, it only reads the states of the window's objects: a listener changes the
    way Qt hands on keys."""

    def __init__(self, listen):
        self.events, self.focus, self.app, self.listen = [], None, None, listen
        if listen:
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
        if not self.listen and self.app is not None:
            self.focus = polled_focus(self.app)
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


def polled_focus(acc):
    """The deepest shown object that says it has the focus: a table's or a list's current
    entry only inside a focused table or list, an entry's text as the entry; a menu bar's
    item while its menu is shown (and none of the menu's items is current) comes first."""
    found = None
    for child in acc:
        try:
            state, role = child.getState(), child.getRoleName()
            focused = state.contains(pyatspi.STATE_FOCUSED) or (
                role == "menu item" and child.childCount and
                child[0].getState().contains(pyatspi.STATE_SHOWING))
            if not state.contains(pyatspi.STATE_SHOWING) or role == "combo box":
                deeper = None
            elif role in ("table", "list", "text"):  # a text's children: its links
                if role != "text" and not focused:
                    continue
                deeper = next((c for c in child if c.getState().contains(
                    pyatspi.STATE_FOCUSED)), None)
            else:
                deeper = polled_focus(child)
        except Exception:  # gone
            continue
        if state.contains(pyatspi.STATE_SHOWING) and not (found and
                                                           found.getRoleName() == "menu item"):
            found = deeper or (child if focused else found)
    return found


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


# ---- the steps -------------------------------------------------------------------------
# keys: pressed through the X server ("type:" types text). focus: the role and name of the
# control that must hold the focus afterwards. Optional: desc, its description; cell,
# the text of a table cell (row, column, text), read as a screen reader reads it; edit,
# the text of a cell of the edit row (column, text); within, the name of the focused
# cell's table; headers, the focused cell's row and column header;
# heard, events a screen reader must have got (type, source); not_heard, event types it
# must not have got; value, the focused control's value; direct, the focus went straight
# there (a screen reader heard of no other control on the way); window, the role and name
# of the focus's window; tree, the step after which
# --tree prints the tree.
# Keys "down:"/"up:" hold and let go, "pause:" waits; frames, selected, whole, active: see
# check_step.
CELL = "table cell"
TABLE = (CELL, None)  # the table has the focus on its current cell
STEPS = [
    # At start the focus is on the first control shown: the tool bar's "Öffnen".
    dict(keys="", focus=("push button", "Öffnen")),
    # No file yet: the search panel is not shown, so Alt+H opens the help menu, on its
    # name; Escape goes back to the menu bar.
    dict(keys="down:alt down:h", focus=("menu item", "Hilfe"), menu="Hilfe"),
    dict(keys="up:h up:alt Escape Escape", focus=("push button", "Öffnen")),
    # Opened from the recent list: the table takes the focus on its current cell.
    dict(keys="down:alt down:d", focus=("menu item", "Datei"), menu="Datei"),
    dict(keys="up:d up:alt 1", focus=(CELL, "00")),
    dict(keys="Down", focus=(CELL, "10"), cell=(1, 1, "00"), headers=("00000010", "00")),
    dict(keys="End", focus=(CELL, "................")),
    dict(keys="Home", focus=(CELL, "10")),
    dict(keys="ctrl+End", focus=(CELL, "ðñòóôõö÷øùúûüýþÿ"), headers=("000000F0", "")),
    dict(keys="ctrl+Home", focus=(CELL, "00")),
    dict(keys="Next", focus=(CELL, "F0")),
    dict(keys="Prior", focus=(CELL, "00")),
    # Ctrl+Tab and Ctrl+Shift+Tab leave the table.
    dict(keys="ctrl+Tab", focus=("push button", "Öffnen")),
    dict(keys="shift+Tab", focus=TABLE),
    dict(keys="ctrl+shift+Tab", focus=("scroll bar", "Position in der Datei")),
    # The scroll bar's position is heard as the address shown, in its base.
    dict(keys="Down", focus=("scroll bar", "Position in der Datei"), desc="00000010",
         heard=[("object:property-change:accessible-description",
                 "scroll bar 'Position in der Datei'")],
         not_heard=["object:property-change:accessible-value"]),
    dict(keys="Up", focus=("scroll bar", "Position in der Datei"), desc="00000000"),
    dict(keys="Tab", focus=TABLE),
    # A step says the new value and nothing of the table.
    dict(keys="ctrl+shift+Tab shift+Tab shift+Tab", focus=("spin button", "Reihen:")),
    dict(keys="Up", focus=("spin button", "Reihen:"), value=20,
         heard=[("object:property-change:accessible-value", "spin button 'Reihen:'")],
         not_heard=["focus:", "object:state-changed:focused"]),
    dict(keys="shift+Tab", focus=("check box", "Tabellengitter ein-/ausschalten")),
    # Ctrl+E shows the edit panel: no row is loaded, so the table has the focus; Return
    # loads the current row, the edit row takes the focus and frames its current cell.
    dict(keys="ctrl+e", focus=TABLE, direct=True),
    dict(keys="Return", focus=(CELL, "00"), within="Bearbeitungszeile", edit=(0, "00000000"),
         frames=[("Bearbeitungszeile", 0, 1, True), ("Dateiinhalt", 1, 1, False)]),
    # Tab gives the next cell with its offset, as the arrows do, from a cell editor too
    # (the same byte typed again: the file stays as it is).
    dict(keys="Tab", focus=(CELL, "01"), within="Bearbeitungszeile", headers=("00000000", "01")),
    dict(keys="0 1 Tab", focus=(CELL, "02"), within="Bearbeitungszeile",
         headers=("00000000", "02")),
    dict(keys="ctrl+Tab", focus=("push button", "Übernehmen")),
    dict(keys="space", focus=TABLE, direct=True, frames=[("Dateiinhalt", 1, 1, True)]),
    dict(keys="3 a Right Left", focus=(CELL, "00")),  # typed, 3 and a move nothing
    # In an open cell editor Ctrl+E is the window's: the panel goes, the table has the focus.
    dict(keys="Return 4", focus=("text", None), editor=True),
    dict(keys="ctrl+e", focus=TABLE, direct=True),
    # A row loaded into the hidden panel is loaded unseen: nothing is said.
    dict(keys="F2", focus=TABLE, not_heard=["object:property-change:accessible-description"]),
    # The search panel takes the focus into its entry; Ctrl+E from there, too, reaches the
    # window.
    dict(keys="ctrl+f", focus=("combo box", "Suchen nach:")),
    dict(keys="Tab", focus=("combo box", "Ersetzen durch:")),
    dict(keys="ctrl+a type:4142", focus=("combo box", "Ersetzen durch:")),
    dict(keys="ctrl+e", focus=TABLE, direct=True),
    dict(keys="ctrl+f", focus=("combo box", "Suchen nach:")),
    # A search without hits leaves the focus in the entry, which says the count. The
    # mnemonic of the disabled "Ersetzen" types nothing.
    dict(keys="type:ffff alt+e", focus=("combo box", "Suchen nach:"), entry="ffff"),
    dict(keys="Return", focus=("combo box", "Suchen nach:"), told="0 Treffer"),
    # With hits the list takes the focus and says the count; the page stays.
    dict(keys="ctrl+a type:4142", focus=("combo box", "Suchen nach:")),
    dict(keys="Return", focus=("list", "Treffer"), desc="4 Treffer", cell=(1, 1, "00"),
         direct=True, tree=True, frames=[("Treffer", None, None, True)]),
    # The first Down selects the first hit and shows its page.
    dict(keys="Down", focus=("list item", "00000041"), cell=(1, 1, "41"),
         frames=[("Treffer", 0, None, True)]),
    dict(keys="Down", focus=("list item", "00000141"), cell=(1, 1, "41")),
    # A jump makes the hit the table's current cell (on the last page, where it lies): the
    # table is entered on it.
    dict(keys="Down Down", focus=("list item", "00000341")),
    dict(keys="Tab Tab Tab Tab Tab Tab", focus=(CELL, "41"), headers=("00000340", "01")),
    dict(keys="ctrl+shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab",
         focus=("list item", "00000341")),
    dict(keys="Up Up", focus=("list item", "00000141")),
    # A replace (here by the same bytes) is told where the focus is, once the question is
    # answered and the window has the focus back.
    dict(keys="alt+e", focus=("push button", "Ja")),
    dict(keys="Return", focus=("list item", "00000141"),
         heard=[("object:property-change:accessible-description", "list 'Treffer'"),
                ("object:state-changed:showing",
                 "notification '4142 an der Adresse 00000141 durch 4142 ersetzt'")]),
    # Each entry tells its place in the list; "Neue Suche" is heard where the focus is.
    dict(keys="Up", focus=("list item", "00000041"), desc="Treffer 1 von 4"),
    dict(keys="alt+n", focus=("list", "Treffer"), told="Neue Suche"),
    # With the panel shown, Alt+H is its "Hilfe" button's, every time.
    dict(keys="alt+h", focus=("text", "Hilfetext"), line="Suchen und Ersetzen"),
    dict(keys="Escape alt+h", focus=("text", "Hilfetext"), line="Suchen und Ersetzen"),
    dict(keys="Escape", focus=("list", "Treffer")),
    # The help is a text read by its caret, which F1 puts on the topic; Tab goes to the
    # next link, Return follows it.
    dict(keys="F1", focus=("text", "Hilfetext"), line="Suchen und Ersetzen",
         window=("frame", "Zirpel-Hilfe")),
    dict(keys="Tab", focus=("link", "Zurück zum Inhalt"), link="Zurück zum Inhalt"),
    dict(keys="Return", focus=("text", "Hilfetext"), line="Zirpel – Inhalt"),
    dict(keys="Escape", focus=("list", "Treffer")),
    dict(keys="ctrl+e", focus=TABLE, direct=True),
    # Loading a row is heard; the edit row's cells are headed by their row's address and
    # their offset, as the table's are.
    dict(keys="F2", focus=(CELL, None), told=r"Bearbeitungszeile [0-9A-F]{8}",
         edit_headers=(3, "02")),
    # The open dialog's name box is empty or selected whole; the window active after it.
    dict(keys="ctrl+o", focus=("text", None), selected=True),
    dict(keys="type:{other} Return", focus=TABLE, active=True),
    dict(keys="ctrl+o", focus=("text", None), selected=True),
    dict(keys="pause:3", focus=("text", None), selected=True),
    # Read whole: one run of text attributes to its end (a reader splits the line by them).
    dict(keys="", focus=("text", None), selected=True, whole=True),
    dict(keys="type:{data} Return", focus=TABLE, active=True),
    dict(keys="ctrl+o", focus=("text", None), selected=True),
    dict(keys="Escape", focus=TABLE, active=True),
]


def accessible_app():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name.lower().startswith("zirpel"):
            return app
    return None


def dotted(x, y, width, height):
    """Whether a line along the longer side of that screen area is dotted."""
    text = subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (
        width, height, x, y), "-depth", "8", "txt:-"], capture_output=True, text=True).stdout
    lines = {}
    for px, py, colour in re.findall(r"^(\d+),(\d+): (\S+)", text, re.M):
        lines.setdefault(py if width > height else px, []).append(colour)
    return any(sum(a != b for a, b in zip(c, c[1:])) >= max(width, height) // 3
               for c in lines.values())


def frame_drawn(app, name, row, column):
    """The dotted focus frame on a table's cell, the list (row None) or an entry."""
    if column is not None:
        cell = find(app, "table", name).queryTable().getAccessibleAt(row, column)
        x, y, width, height = cell.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return dotted(x + 1, y + 2, 1, height - 4)
    found = find(app, "list", name) if row is None else find(app, "list", name)[row]
    x, y, width, height = found.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    if row is None:  # the middle half, past where the first entries are drawn
        return dotted(x, y + height // 4, 4, height // 2)
    return dotted(x + 4, y, width - 8, 2)  # the entry's top edge, above its text


def check_step(app, reader, step, heard):
    """Empty when the step's expectations hold, else what differs."""
    focus = reader.focus
    role, name = step["focus"]
    if focus is None and step.get("editor") and not reader.listen:
        return ""  # a cell editor is in no table's tree: only its focus event shows it
    if focus is None:
        return "no focus"
    try:
        state = focus.getState()
        if focus.getRoleName() != role or (name is not None and focus.name != name):
            return "focus on " + describe(focus)
        if not state.contains(pyatspi.STATE_FOCUSED):
            return describe(focus) + " announced, but has no focus"
        # A cell counts as focused whenever it is its table's current one.
        if role == CELL and not focus.parent.getState().contains(pyatspi.STATE_FOCUSED):
            return describe(focus) + " announced, but its table has no focus"
        if "window" in step:
            top = focus
            while top.parent is not None and top.parent.getRoleName() != "application":
                top = top.parent
            if (top.getRoleName(), top.name) != step["window"]:
                return "in window " + describe(top)
        if "within" in step and focus.parent.name != step["within"]:
            return "focus in " + describe(focus.parent)
        if "menu" in step and not [m for m in find(app, "menu bar", None) if m.name == step[
                "menu"] and m.childCount and m[0].getState().contains(pyatspi.STATE_SHOWING)]:
            return "menu %s not open" % step["menu"]
        if "entry" in step and focus[0].queryText().getText(0, -1) != step["entry"]:
            return "entry reads '%s'" % focus[0].queryText().getText(0, -1)
        if "desc" in step and focus.description != step["desc"]:
            return "description '%s'" % focus.description
        if "value" in step and focus.queryValue().currentValue != step["value"]:
            return "value %s" % focus.queryValue().currentValue
        if "headers" in step:
            # Where the focused cell is: its row's address and its column's offset.
            table = focus.parent.queryTable()
            at = focus.getIndexInParent()
            row, column = table.getRowAtIndex(at), table.getColumnAtIndex(at)
            headers = (table.getRowHeader(row).name, table.getColumnHeader(column).name)
            if headers != step["headers"]:
                return "cell headed %s" % (headers,)
        if "edit" in step:
            column, text = step["edit"]
            row = find(app, "table", "Bearbeitungszeile").queryTable()
            if row.getAccessibleAt(0, column).name != text:
                return "edit row cell %d reads '%s'" % (column, row.getAccessibleAt(0, column).name)
        text = focus.queryText() if "selected" in step else None
        if text and text.characterCount and [tuple(text.getSelection(i)) for i in range(
                text.getNSelections())] != [(0, text.characterCount)]:
            return "text '%s' not selected whole" % text.getText(0, -1)
        if step.get("whole") and text and tuple(text.getAttributeRun(
                text.characterCount - 1)[1:]) != (0, text.characterCount):
            return "attribute run %s" % (text.getAttributeRun(text.characterCount - 1)[1:],)
        if step.get("active") and not app[0].getState().contains(pyatspi.STATE_ACTIVE):
            return "window not active"
        for name, row, column, shown in step.get("frames", []):
            if frame_drawn(app, name, row, column) != shown:
                return "focus frame %s on %s %s" % ("missing" if shown else "drawn", name,
                                                    (row, column))
        if "cell" in step:
            row, column, text = step["cell"]
            table = find(app, "table", "Dateiinhalt").queryTable()
            cell = table.getAccessibleAt(row, column)
            if cell.name != text:
                return "cell %d,%d reads '%s'" % (row, column, cell.name)
    except Exception as error:  # an object that went away
        return "unreadable: %s" % error
    problem = check_told(app, reader, focus, step, heard)
    if problem or not reader.listen:
        return problem
    for kind, source in step.get("heard", []):
        if not any(e[0] == kind and e[1] == source for e in heard):
            return "not heard: %s from %s" % (kind, source)
    if step.get("direct"):
        # The table says it has the focus before its cell does; an object gone before the
        # reader asks for it says nothing.
        passed = [e[1] for e in heard if e[0] == "focus:" and
                  e[1] not in (describe(focus), "table 'Dateiinhalt'", "(gone)")]
        if passed:
            return "focus passed " + ", ".join(passed)
    for kind in step.get("not_heard", []):
        said = [e for e in heard if e[0].startswith(kind)]
        if said:
            return "heard: %s" % (said[0],)
    return ""


def check_told(app, reader, focus, step, heard):
    """The help text's caret line and chosen link; a result told where the reader listens:
    as the new description of the focused object (of the text inside a focused entry),
    read out at once; the edit row's headers."""
    try:
        if "line" in step or "link" in step:
            # A chosen link is the help text's child; the text's selection is the link.
            text = (focus.parent if focus.getRoleName() == "link" else focus).queryText()
            if "line" in step:
                line = text.getTextAtOffset(text.caretOffset, pyatspi.TEXT_BOUNDARY_LINE_START)
                if line[0].strip() != step["line"]:
                    return "caret on '%s'" % line[0].strip()
            if "link" in step:
                start, end = text.getSelection(0) if text.getNSelections() else (0, 0)
                if text.getText(start, end) != step["link"]:
                    return "chosen '%s'" % text.getText(start, end)
        if "told" in step:
            followed = [focus] + [c for c in focus if c is not None and
                                  c.getRoleName() == "text"]
            told = [o for o in followed if re.fullmatch(step["told"], o.description)]
            if not told:
                return "not told '%s'" % step["told"]
            if reader.listen and not any(
                    e[0] == "object:property-change:accessible-description" and
                       e[1] == describe(told[0]) for e in heard):
                return "no description change from " + describe(told[0])
            # Read out at once: as a notification, or with the object, which says it has
            # the focus.
            if reader.listen and not any((e[0] == "object:state-changed:showing" and e[2] == 1 and
                        re.fullmatch("notification '%s'" % step["told"], e[1])) or
                       (e[0] == "focus:" and e[1] == describe(told[0])) for e in heard):
                return "not read out: '%s'" % step["told"]
        if "edit_headers" in step:
            column, offset = step["edit_headers"]
            row = find(app, "table", "Bearbeitungszeile").queryTable()
            heads = (row.getRowHeader(0).name, row.getColumnHeader(column).name)
            if not re.fullmatch("[0-9A-F]{8}", heads[0]) or heads[1] != offset:
                return "edit row cell headed %s" % (heads,)
    except Exception as error:  # an object that went away
        return "unreadable: %s" % error
    return ""


def run(desktop, program, steps, print_tree, listen):
    data = os.path.join(desktop.work, "data.bin")
    content = bytes(range(256)) * 4
    with open(data, "wb") as f:
        f.write(content)
    with open(os.path.join(desktop.home, ".config", "Quillmark", "Zirpel.json"), "w") as f:
        f.write('{"Datei1": "%s", "Datei2": "", "Datei3": "", "Datei4": ""}' % data)
    desktop.env.update(QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    reader = Reader(listen)
    desktop.spawn([program], stdout=subprocess.DEVNULL)
    app = reader.app = until("the program on the accessibility bus", accessible_app, 3 * LIMIT)

    def x(*args):
        return subprocess.run(args, env=desktop.env, capture_output=True, text=True).stdout

    def keyboard_on_window():
        # The window manager has framed the window at its final outer size (250 x 200)
        # and made it the active one (a popup opened before that would close again), and
        # the program knows it.
        found = x("xdotool", "search", "--name", "^Zirpel \\[\\]$").split()
        active = x("xprop", "-root", "_NET_ACTIVE_WINDOW").split()
        if not found or not active or int(found[0]) != int(active[-1], 16):
            return False
        extents = re.findall(r"\d+", x("xprop", "-id", found[0], "_NET_FRAME_EXTENTS"))
        size = re.findall(r"(?:Width|Height): +(\d+)", x("xwininfo", "-id", found[0]))
        if len(extents) != 4 or len(size) != 2:
            return False
        left, right, top, bottom = map(int, extents)
        reader.take()
        return (int(size[0]) + left + right, int(size[1]) + top + bottom) == (250, 200) and \
            app[0].getState().contains(pyatspi.STATE_ACTIVE) and reader.focus is not None

    until("the keyboard on its window", keyboard_on_window, 3 * LIMIT)  # a busy start
    files = {name: os.path.join(desktop.work, name + ".bin") for name in ("other", "missing")}
    shutil.copy(data, files["other"])
    files["data"] = data
    failures = []
    def press(keys):
        for key in keys.split():
            if key.startswith("type:"):
                desktop.type(key[5:])
            elif key.startswith(("down:", "up:")):
                subprocess.run(["xdotool"] + ("key" + key.replace(":", " ")).split())
            elif key.startswith("pause:"):
                time.sleep(float(key[6:]))  # a user who waits is the case itself
            else:
                desktop.key(key)

    for number, step in enumerate(steps, 1):
        reader.take()
        step = dict(step, keys=step["keys"].format(**files))
        # A menu opened by Alt and a letter closes again when the toolkit sees a key
        # released before the menu holds the keyboard (a busy machine): such a step undoes
        # its keys and presses them again, as a user would.
        tries = 3 if step.get("again") else 1
        for attempt in range(tries):
            press(step["keys"])
            heard = []

            def holds():
                heard.extend(reader.take())
                return not check_step(app, reader, step, heard)

            try:
                until("step %d" % number, holds)
                # Late events still count against the step.
                time.sleep(0.2)
                heard.extend(reader.take())
                problem = check_step(app, reader, step, heard)
            except Failure:
                problem = check_step(app, reader, step, heard)
            if not problem or attempt == tries - 1:
                break
            press(step["again"])
            until("the step undone", lambda: reader.focus is not None)
        print("%-2d %-40s -> %s%s" % (number, step["keys"], describe(reader.focus),
                                       ("   FAIL: " + problem) if problem else ""))
        if print_tree and step.get("tree"):
            print("\n".join(tree(app[0])))
        if os.environ.get("DESKTOP_EVENTS"):
            for event in heard:
                print("      heard", event[:3])
        if problem:
            failures.append(number)
            if not os.environ.get("DESKTOP_ALL"):
                break  # the steps after it start from another place
    with open(data, "rb") as f:
        if f.read() != content:
            failures.append("file changed")
    return failures


def main():
    program = os.path.abspath(sys.argv[1])
    for number in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(number, stop_on_signal)
    if "DESKTOP_LISTEN" not in os.environ:
        # Each setting in a process of its own: the bus library keeps the first bus it met.
        return max(subprocess.run([sys.executable] + sys.argv, env=dict(
            os.environ, DESKTOP_LISTEN=listen)).returncode for listen in ("0", "1"))
    listen = os.environ["DESKTOP_LISTEN"] == "1"
    desktop = Desktop()
    started = time.monotonic()
    try:
        desktop.start()
        steps = STEPS[:int(os.environ.get("DESKTOP_STEPS", len(STEPS)))]
        failures = run(desktop, program, steps, "--tree" in sys.argv, listen)
    finally:
        desktop.stop()
    print("%s: %.1f s" % ("listening" if listen else "not listening", time.monotonic() - started))
    if failures:
        print("FAIL: steps", failures)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
