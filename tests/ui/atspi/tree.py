"""The program's windows as the accessibility bus shows them to a screen
reader: roles, names, states and places, read through pyatspi with nothing
cached, so every look is the program's answer of that moment."""

import re

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

import pyatspi  # noqa: E402

from desktop import Failure, wait_for  # noqa: E402

# Items of lists and tables: many, and none of them a control of their own.
_LEAVES = {"table", "tree table", "list", "tree", "list box"}


def pump():
    """Takes in what the bus has sent (the registry's news of applications)."""
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass


def norm(text):
    return re.sub(r"\s+", " ", text or "").strip()


class Node:
    def __init__(self, obj):
        self.obj = obj
        self.role = obj.getRoleName()
        self.name = norm(obj.name)
        self.states = {pyatspi.stateToString(s) for s in obj.getState().getStates()}

    @property
    def showing(self):
        return "showing" in self.states and "visible" in self.states

    def extents(self):
        box = self.obj.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return box.x, box.y, box.width, box.height

    def parent(self):
        return Node(self.obj.parent) if self.obj.parent else None

    def __str__(self):
        keep = sorted(self.states & {"focused", "showing", "visible", "checked", "focusable",
                                     "active", "enabled"})
        name = self.name if len(self.name) <= 70 else self.name[:67] + "..."
        return f"{self.role} {name!r} [{', '.join(keep)}]"


def nodes(root, showing_only=False):
    """`root` and what it holds, depth first; with `showing_only`, nothing
    inside an object that isn't on screen."""
    found = []

    def visit(obj):
        try:
            node = Node(obj)
        except GLib.Error:
            return  # gone while we looked (a window closing)
        found.append(node)
        if node.role in _LEAVES or (showing_only and not node.showing):
            return
        for i in range(obj.childCount):
            child = obj.getChildAtIndex(i)
            if child is not None:
                visit(child)

    visit(root)
    return found


def listen(callback, *events):
    """Calls `callback(event)` for each of `events` ("object:state-changed:focused"
    and the like) the bus brings while the test waits (pump())."""
    pyatspi.Registry.registerEventListener(callback, *events)


def application(name="Kwizmar", timeout=30):
    def find():
        pump()
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                # Every question goes to the program: a cached role or state
                # would hide what changed.
                app.set_cache_mask(Atspi.Cache.NONE)
                return app
        return None

    return wait_for(f"the program {name} on the accessibility bus", find, timeout)


def windows(app):
    pump()
    return [Node(app.getChildAtIndex(i)) for i in range(app.childCount)
            if app.getChildAtIndex(i) is not None]


def active_window(app, other_than=None, timeout=20):
    """The program's window that has the keyboard, once there is one (and it
    isn't `other_than`)."""

    def find():
        for window in windows(app):
            if "active" in window.states and (other_than is None or window.obj != other_than.obj):
                return window
        return None

    what = "a window of the program active" + (f" other than {other_than}" if other_than else "")
    return wait_for(what, find, timeout, pump)


def main_window(app, timeout=30):
    """The exam window once it has the keyboard (after the splash)."""

    def find():
        for window in windows(app):
            if "active" in window.states and any(
                    n.role == "push button" and n.name == "Start" and n.showing
                    for n in nodes(window.obj, showing_only=True)):
                return window
        return None

    return wait_for("the exam window active with its Start button", find, timeout, pump)


def focused(window):
    for node in nodes(window.obj, showing_only=True):
        if "focused" in node.states:
            return node
    return None


def find(window, role=None, name=None, showing=True):
    """The objects of `window` with `role` whose name is `name` (or matches it,
    a compiled pattern)."""

    def named(node):
        if name is None:
            return True
        if isinstance(name, re.Pattern):
            return bool(name.search(node.name))
        return node.name == norm(name)

    return [n for n in nodes(window.obj, showing_only=showing)
            if (role is None or n.role == role) and named(n) and (n.showing or not showing)]


def dump(window):
    """What is on screen in `window`, one object a line, for a failure's report."""
    lines = []

    def visit(obj, depth):
        node = Node(obj)
        lines.append("  " * depth + str(node))
        if node.role in _LEAVES or not node.showing:
            return
        for i in range(obj.childCount):
            child = obj.getChildAtIndex(i)
            if child is not None:
                visit(child, depth + 1)

    try:
        visit(window.obj, 0)
    except GLib.Error as error:
        lines.append(f"(the window went away: {error})")
    return "\n".join(lines)


__all__ = ["Failure", "Node", "active_window", "application", "dump", "find", "focused", "listen",
           "main_window", "nodes", "norm", "pump", "wait_for", "windows"]
