"""A desktop of the test's own for the program and a screen reader.

Xvfb with a Polish keyboard and openbox, inside the private session bus that
run.py starts (dbus-run-session), the accessibility bus and its registry on
it, and a fresh home with its XDG folders. Every process started here dies
with the test, also when ctest kills it for its time.
"""

import ctypes
import importlib.util
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import tty

PR_SET_PDEATHSIG = 1


def die_with_parent():
    """Asks the kernel to kill this process when its parent ends."""
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGKILL)


class Failure(AssertionError):
    pass


def wait_for(what, condition, timeout=20.0, pump=None):
    """Returns the first true value of condition(); fails naming `what` when
    none comes within `timeout` seconds (a guard against a hung display, not a
    measure of speed)."""
    deadline = time.monotonic() + timeout
    while True:
        if pump:
            pump()
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"{what}: not within {timeout:.0f} s")
        time.sleep(0.05)


class Desktop:
    """The display, the buses and the home; keys as a person presses them."""

    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="kwizmar-atspi-")
        self.children = []
        self.env = dict(os.environ)
        home = os.path.join(self.folder, "home")
        runtime = os.path.join(self.folder, "runtime")
        for path in (home, runtime):
            os.makedirs(path, mode=0o700)
        self.env.update(
            HOME=home,
            XDG_CONFIG_HOME=os.path.join(home, ".config"),
            XDG_DATA_HOME=os.path.join(home, ".local", "share"),
            XDG_CACHE_HOME=os.path.join(home, ".cache"),
            XDG_STATE_HOME=os.path.join(home, ".local", "state"),
            XDG_RUNTIME_DIR=runtime,
            # Qt's bridge speaks on the accessibility bus whether or not a
            # screen reader has asked for it.
            QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
            QT_QPA_PLATFORM="xcb",
            # The program speaks Polish whatever the locale; Orca's own words
            # (roles, states) come in English, which needs no generated locale.
            LANG="C.UTF-8",
        )
        for name in ("LC_ALL", "LANGUAGE", "WAYLAND_DISPLAY", "AT_SPI_BUS_ADDRESS",
                     "NO_AT_BRIDGE"):
            self.env.pop(name, None)
        os.environ.clear()
        os.environ.update(self.env)

    def spawn(self, argv, log=None, capture=False, **kwargs):
        out = subprocess.PIPE if capture else subprocess.DEVNULL
        if log:
            out = open(os.path.join(self.folder, log), "wb")
        child = subprocess.Popen(argv, env=self.env, stdout=out, stderr=subprocess.STDOUT,
                                 stdin=subprocess.DEVNULL, preexec_fn=die_with_parent, **kwargs)
        if log:
            out.close()
        self.children.append(child)
        return child

    def log(self, name):
        try:
            with open(os.path.join(self.folder, name), encoding="utf-8", errors="replace") as f:
                return f.read()
        except FileNotFoundError:
            return ""

    def start(self):
        read, write = os.pipe()
        self.spawn(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24",
                    "-nolisten", "tcp", "-noreset"], pass_fds=(write,))
        os.close(write)
        with os.fdopen(read) as f:
            number = f.readline().strip()
        if not number:
            raise Failure("Xvfb didn't start")
        self.env["DISPLAY"] = os.environ["DISPLAY"] = ":" + number
        # The keyboard of a Polish school: the Polish letters on AltGr.
        subprocess.run(["setxkbmap", "pl"], env=self.env, check=True)
        self.spawn(["openbox", "--sm-disable"])
        wait_for("openbox on the display", lambda: self._root_property("_NET_SUPPORTING_WM_CHECK"))
        # The accessibility bus, whose address the program and the readers
        # ask the session bus for, as on a desktop (the bus starts its
        # launcher when first asked), and its registry, which that bus starts.
        # Qt 6.4 given AT_SPI_BUS_ADDRESS instead connects but never turns its
        # bridge on.
        address = wait_for("the accessibility bus", self._a11y_address)
        wait_for("the accessibility registry", lambda: self._call(
            ["--address", address, "--dest", "org.a11y.atspi.Registry",
             "--object-path", "/org/a11y/atspi/accessible/root",
             "--method", "org.freedesktop.DBus.Properties.Get",
             "org.a11y.atspi.Accessible", "ChildCount"]))

    def _root_property(self, name):
        out = subprocess.run(["xprop", "-root", name], env=self.env, capture_output=True, text=True)
        return "window id" in out.stdout

    def _call(self, args):
        out = subprocess.run(["gdbus", "call"] + args, env=self.env, capture_output=True, text=True)
        return out.stdout if out.returncode == 0 else None

    def _a11y_address(self):
        reply = self._call(["--session", "--dest", "org.a11y.Bus", "--object-path", "/org/a11y/bus",
                            "--method", "org.a11y.Bus.GetAddress"])
        # ('unix:path=/tmp/dbus-...,guid=...',)
        return reply.split("'")[1] if reply and "'" in reply else None

    def run_program(self, program, *args):
        return self.spawn([program, *args], log="kwizmar.log")

    def keys(self, *names):
        """Presses keys as a person does, one after another (xdotool's names:
        Return, Tab, space, Down, alt+s)."""
        subprocess.run(["xdotool", "key", "--delay", "40", *names], env=self.env, check=True)

    def type(self, text):
        subprocess.run(["xdotool", "type", "--delay", "40", text], env=self.env, check=True)

    def watch_title(self):
        """The titles the active window's title bar shows from now on."""
        window = subprocess.run(["xdotool", "getactivewindow"], env=self.env, check=True,
                                capture_output=True, text=True).stdout.strip()
        return TitleWatch(self.spawn(["xprop", "-id", window, "-spy", "_NET_WM_NAME"],
                                     capture=True))

    def close(self):
        for child in reversed(self.children):
            if child.poll() is None:
                child.terminate()
                try:
                    child.wait(3)
                except subprocess.TimeoutExpired:
                    child.kill()
                    child.wait()
        shutil.rmtree(self.folder, ignore_errors=True)


class TitleWatch:
    """Collects the titles xprop -spy reports, each change once, in order."""

    def __init__(self, spy):
        self.seen = []
        threading.Thread(target=self._read, args=(spy.stdout,), daemon=True).start()

    def _read(self, stream):
        for line in stream:
            # _NET_WM_NAME(UTF8_STRING) = "title"
            title = line.decode("utf-8", "replace").partition(" = ")[2].strip()
            if title.startswith('"') and title.endswith('"'):
                title = title[1:-1].replace('\\"', '"').replace("\\\\", "\\")
            if not self.seen or self.seen[-1] != title:
                self.seen.append(title)


class SpeechLog:
    """What the screen reader says, read from its debug log as it is written.
    Orca writes the log through a terminal (a pseudo-terminal here), which it
    writes line by line, where a file would get its lines a buffer at a time.
    Each utterance is a line "SPEECH OUTPUT: 'text'" and its voice; a text of
    several lines goes on in lines indented past the time stamp."""

    _UTTERANCE = re.compile(r"SPEECH OUTPUT: '(.*?)'(?: voice=\w+)? ?(?:\{'|$)", re.S)

    def __init__(self):
        master, self._slave = os.openpty()
        tty.setraw(self._slave)
        self.path = os.ttyname(self._slave)
        self.said = []
        threading.Thread(target=self._read, args=(master,), daemon=True).start()

    def _read(self, master):
        rest, last = b"", None
        while True:
            try:
                chunk = os.read(master, 65536)
            except OSError:
                return
            if not chunk:
                return
            *done, rest = (rest + chunk).split(b"\n")
            for raw in done:
                line = raw.decode("utf-8", "replace").rstrip("\r")
                if last is not None and line.startswith(" " * 18):
                    last += "\n" + line.strip()
                    continue
                if last is not None:
                    self._add(last)
                last = line if "SPEECH OUTPUT: '" in line else None
            if last is not None and not rest:
                self._add(last)
                last = None

    def _add(self, line):
        match = self._UTTERANCE.search(line)
        self.said.append(match.group(1) if match else line.split("SPEECH OUTPUT: '", 1)[1])

    def spoken(self):
        return list(self.said)


def missing_tools(extra=()):
    """What this machine lacks for the tests: they skip where it is so."""
    missing = [tool for tool in ("Xvfb", "openbox", "xdotool", "xprop", "setxkbmap", "gdbus",
                                 "dbus-run-session", *extra) if not shutil.which(tool)]
    for path in ("/usr/libexec/at-spi-bus-launcher", "/usr/libexec/at-spi2-registryd"):
        if not os.access(path, os.X_OK):
            missing.append(path)
    # Looked up, not imported: the library takes the accessibility bus it
    # finds when it is first imported.
    try:
        import gi

        gi.require_version("Atspi", "2.0")
        if not importlib.util.find_spec("pyatspi"):
            raise ImportError
    except (ImportError, ValueError):
        missing.append(f"pyatspi for {sys.executable}")
    return missing
