"""The real program on a private X display with a tray host.

Each test runs inside `dbus-run-session`, so it has its own session bus; the
program gets a temporary HOME, and QUORVANE_DRY_RUN=1 so that no power action
or command is ever carried out.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

BIN = os.environ.get("QUORVANE_BIN", "build/src/quorvane")
OUT = os.environ.get("QUORVANE_E2E_OUT", "build/tests/e2e/out")
FAKETIME = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1"


def _private_runtime_dir():
    """The accessibility bus puts its socket in the runtime directory of the
    session bus that starts it (~/.cache when none is set): tests running side
    by side would bind the same path, and a program started later in one test
    would register on the other test's bus. Each test process gets its own,
    before anything asks for the accessibility bus."""
    import atexit
    path = tempfile.mkdtemp(prefix="quorvane-e2e-run-")
    os.environ["XDG_RUNTIME_DIR"] = path
    subprocess.run(["dbus-update-activation-environment", "XDG_RUNTIME_DIR=" + path],
                   capture_output=True)
    atexit.register(shutil.rmtree, path, True)


if os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
    _private_runtime_dir()


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def wait_for(predicate, timeout, step=0.1):
    end = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > end:
            return value
        time.sleep(step)


class Desktop:
    def __init__(self, name, tray=True, wm=True, size="1280x800"):
        self.name = name
        self.tray = tray
        self.wm = wm
        self.size = size
        self.procs = []
        self.app = None
        self.home = tempfile.mkdtemp(prefix="quorvane-e2e-")
        os.makedirs(OUT, exist_ok=True)

    # Set-up and tear-down.

    def __enter__(self):
        # Xvfb picks a free display and tells which: tests running side by
        # side never share one. Without -noreset it would reset whenever its
        # last client leaves, and the next one could not connect meanwhile.
        read, write = os.pipe()
        self.procs.append(subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", self.size + "x24", "-nolisten", "tcp",
             "-noreset"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        os.close(write)
        with os.fdopen(read) as pipe:
            number = pipe.readline().strip()
        if not number:
            fail("Xvfb did not start")
        self.display = ":" + number
        env = self.env()
        if not wait_for(lambda: subprocess.run(["xdpyinfo"], env=env, capture_output=True)
                        .returncode == 0, 10):
            fail("Xvfb did not start")
        if self.wm:
            # A window manager draws the title bars, so captions show.
            wm_log = open(os.path.join(OUT, "%s.openbox.log" % self.name), "w")
            self.procs.append(subprocess.Popen(
                ["openbox", "--sm-disable"], env=env, stdout=wm_log, stderr=wm_log))
            wait_for(lambda: "_NET_SUPPORTING_WM_CHECK(WINDOW)" in
                     self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK").stdout, 10)
        if self.tray:
            self.start_tray()
        return self

    def __exit__(self, *exc):
        self.stop_app()
        for p in reversed(self.procs):
            p.kill()
            p.wait()
        shutil.rmtree(self.home, ignore_errors=True)
        return False

    def env(self, extra=None):
        env = dict(os.environ)
        env.update({
            "DISPLAY": self.display,
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
            "XDG_RUNTIME_DIR": self.runtime_dir(),
            "QUORVANE_DRY_RUN": "1",
            # Widgets are read back through the accessibility bus.
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "LANG": "C.UTF-8",
        })
        env.pop("WAYLAND_DISPLAY", None)
        env.pop("QT_QPA_PLATFORM", None)
        if extra:
            env.update(extra)
        return env

    def runtime_dir(self):
        path = os.path.join(self.home, "run")
        os.makedirs(path, mode=0o700, exist_ok=True)
        return path

    def start_tray(self):
        # On a loaded machine trayer now and then fails to come up; try again.
        for attempt in range(3):
            log = open(os.path.join(OUT, "%s.trayer.log" % self.name), "a")
            self.tray_proc = subprocess.Popen(
                ["trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
                 "--height", "24", "--SetDockType", "true", "--transparent", "false",
                 "--tint", "0xcccccc"],
                env=self.env(), stdout=log, stderr=log)
            self.procs.append(self.tray_proc)
            if wait_for(self.tray_panel, 10):
                return
            self.kill_tray()
        fail("trayer did not start")

    def kill_tray(self):
        self.tray_proc.kill()
        self.tray_proc.wait()
        self.procs.remove(self.tray_proc)

    def start_app(self, extra_env=None, speed=None):
        env = self.env(extra_env)
        # The program may act on power only against a logind mock of the
        # test's own (logind.PrivateLogind), never on this machine.
        if env.get("QUORVANE_DRY_RUN", "") in ("", "0") and \
                not (extra_env or {}).get("DBUS_SYSTEM_BUS_ADDRESS"):
            fail("refusing to start the program without dry run and without a private logind")
        if speed:
            env["LD_PRELOAD"] = FAKETIME
            env["FAKETIME"] = f"+0 x{speed}"
            env["FAKETIME_DONT_RESET"] = "1"
            # libfaketime shortens the timeouts of poll() but not of ppoll(),
            # which Qt's own event loop waits in; GLib's loop (an empty
            # QT_NO_GLIB) lets the timers run at the clock rate.
            env["QT_NO_GLIB"] = ""
        self.log = open(os.path.join(OUT, self.name + ".log"), "w")
        self.app = subprocess.Popen([BIN], env=env, stdout=self.log, stderr=subprocess.STDOUT)
        return self.app

    def stop_app(self):
        if self.app and self.app.poll() is None:
            self.app.terminate()
            try:
                self.app.wait(5)
            except subprocess.TimeoutExpired:
                self.app.kill()
                self.app.wait()

    # Looking at the screen.

    def run(self, *args):
        return subprocess.run(list(args), env=self.env(), capture_output=True, text=True)

    def search(self, pattern, by="--name", visible=True):
        args = ["xdotool", "search"] + (["--onlyvisible"] if visible else []) + [by, pattern]
        out = self.run(*args).stdout.split()
        return [int(w) for w in out]

    def window(self, title, timeout=10):
        found = wait_for(lambda: self.search("^" + title + "$"), timeout)
        if not found:
            fail(f"no visible window titled {title!r}")
        return found[0]

    def geometry(self, wid):
        out = self.run("xdotool", "getwindowgeometry", "--shell", str(wid)).stdout
        values = dict(line.split("=") for line in out.split())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def screenshot(self, name, window="root"):
        path = os.path.abspath(os.path.join(OUT, name + ".png"))
        target = "root" if window == "root" else str(window)
        result = self.run("import", "-window", target, path)
        if result.returncode != 0:
            fail("screenshot failed: " + result.stderr)
        print("screenshot: " + path)
        return path

    def pixel(self, path, x, y):
        """The colour at a point as "srgb(r,g,b)" (never a colour name)."""
        out = self.run("convert", path, "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-").stdout
        found = re.search(r"\((\d+),(\d+),(\d+)", out.splitlines()[-1])
        return "srgb(%s,%s,%s)" % found.groups() if found else ""

    def tray_panel(self):
        """trayer's panel window, which the icons dock into."""
        found = self.search("^panel$", visible=False)
        return found[0] if found else None

    def tray_icons(self):
        """The icon windows docked in the tray host."""
        panel = self.tray_panel()
        if not panel:
            return []
        tree = self.run("xwininfo", "-children", "-id", str(panel)).stdout
        icons = []
        for line in tree.splitlines():
            line = line.strip()
            if not line.startswith("0x"):
                continue
            # trayer keeps a 1x1 helper window of its own among the icons.
            size = re.search(r"\s(\d+)x(\d+)[+-]", line)
            if size and int(size.group(1)) > 4 and int(size.group(2)) > 4:
                icons.append(int(line.split()[0], 16))
        return icons

    def tray_icon(self, icon_id):
        """The window of the program's tray icon with this id (0 the readout
        icon, 1 the application icon), known by the role the program gives
        it; None while it is not docked."""
        panel = self.tray_panel()
        if not panel:
            return None
        tree = self.run("xwininfo", "-tree", "-id", str(panel)).stdout
        for wid in re.findall(r"^\s*(0x[0-9a-f]+) \"[^\"]*\"", tree, re.M):
            role = self.run("xprop", "-id", wid, "WM_WINDOW_ROLE").stdout
            if '"quorvane-tray-%d"' % icon_id in role:
                return int(wid, 16)
        return None

    def _windows(self):
        """The program's top-level windows as the accessibility bus lists them."""
        # Without an X display (Wayland) the accessibility bus is found
        # through the session bus; another display's would be the wrong one.
        if self.display:
            os.environ["DISPLAY"] = self.display
        else:
            os.environ.pop("DISPLAY", None)
        import pyatspi  # imported late: it connects to the session's bus

        desktop = pyatspi.Registry.getDesktop(0)
        for a in range(desktop.childCount):
            app = desktop.getChildAtIndex(a)
            if app is None or app.name.lower() != "quorvane":
                continue
            for w in range(app.childCount):
                window = app.getChildAtIndex(w)
                if window is not None:
                    yield window

    def accessible(self, caption=None, prefix=None):
        """Every window of the program (or those with the given caption, or
        whose caption starts with the prefix) as {caption: [(role, name), ...]},
        read the way a screen reader reads it."""
        def walk(node, into, depth):
            for i in range(node.childCount):
                child = node.getChildAtIndex(i)
                if child is None:
                    continue
                into.append((child.getRoleName(), child.name))
                if depth < 4:
                    walk(child, into, depth + 1)

        windows = {}
        for window in self._windows():
            if caption is not None and window.name != caption:
                continue
            # Only the windows asked for are read: reading the main window's
            # hundreds of controls takes seconds on a busy machine.
            if prefix is not None and not window.name.startswith(prefix):
                continue
            nodes = []
            walk(window, nodes, 0)
            windows[window.name] = nodes
        return windows

    def node(self, caption_prefix, name, timeout=10):
        """The accessible object named so in the window whose caption starts
        so (the first one, in the order of the window's controls)."""
        import pyatspi

        def find():
            for window in self._windows():
                if window.name.startswith(caption_prefix):
                    found = pyatspi.findDescendant(window, lambda n: n is not None and n.name == name)
                    if found:
                        return found
            return None
        return wait_for(find, timeout, step=0.5)

    def act(self, caption_prefix, name):
        """Does what a screen reader's "activate" does to the named control."""
        node = self.node(caption_prefix, name)
        if node is None:
            fail(f"no control named {name!r} in the window {caption_prefix!r}")
        node.queryAction().doAction(0)

    def checked(self, caption_prefix, name):
        import pyatspi
        node = self.node(caption_prefix, name)
        if node is None:
            fail(f"no control named {name!r} in the window {caption_prefix!r}")
        return node.getState().contains(pyatspi.STATE_CHECKED)

    def click_in(self, wid, x, y, button=1):
        """A click at a point of a window's client area, in pixels."""
        self.run("xdotool", "mousemove", "--window", str(wid), str(x), str(y), "click", str(button))

    def names(self, caption_prefix, timeout=10):
        """The accessible names in the window whose caption starts so. The
        registry learns of the program a moment after it is first asked."""
        def find():
            for nodes in self.accessible(prefix=caption_prefix).values():
                return [name for _, name in nodes if name]
            return []
        return wait_for(find, timeout, step=0.5)

    def balloon(self):
        """The texts of a balloon shown now (a window without a caption)."""
        return [name for nodes in self.accessible("").values() for _, name in nodes if name]

    def all_names(self, timeout=10):
        """The accessible names in all of the program's windows."""
        def find():
            return [name for nodes in self.accessible().values() for _, name in nodes if name]
        return wait_for(find, timeout, step=0.5) or []

    def close_window(self, wid, title=None):
        """What the title bar's close box does: the window manager asks the
        window to close. Asked again if the window stays (as a user would
        click again when the machine was too busy to notice)."""
        for _ in range(3):
            self.run("wmctrl", "-i", "-c", hex(wid))
            if title is None or wait_for(lambda: not self.search("^" + title + "$"), 3):
                return
        print("windows:", self.run("wmctrl", "-l", "-p").stdout, "asked to close", hex(wid),
              "still visible", [hex(w) for w in self.search("^" + title + "$")])

    def click(self, x, y, button=1):
        self.run("xdotool", "mousemove", str(x), str(y), "click", str(button))
