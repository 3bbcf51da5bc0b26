"""The real program on a headless Wayland compositor (weston) with a
StatusNotifier watcher on the test's session bus (notifier.py), as on a
Plasma or GNOME desktop where tray icons are items on D-Bus, not windows.
Windows are read back through the accessibility bus, as in the X tests.
"""

import os
import shutil
import subprocess
import sys

import notifier
from harness import OUT, Desktop, fail, wait_for


class WaylandDesktop(Desktop):
    def __init__(self, name, size=(1280, 800)):
        super().__init__(name, tray=False, wm=False)
        self.width, self.height = size
        self.display = None
        self.socket = "wayland-quorvane"

    def __enter__(self):
        if not shutil.which("weston"):
            print("SKIP: needs weston")
            sys.exit(77)
        if os.environ.get("DBUS_SESSION_BUS_ADDRESS") is None:
            fail("needs a session bus of the test's own (dbus-run-session)")
        run = self.runtime_dir()
        log = os.path.join(OUT, self.name + ".weston.log")
        # The pixman renderer needs no GPU; --debug lets weston-screenshooter
        # read the screen.
        self.procs.append(subprocess.Popen(
            ["weston", "--backend=headless-backend.so", "--use-pixman", "--debug",
             "--width=%d" % self.width, "--height=%d" % self.height,
             "--socket=" + self.socket, "--idle-time=0", "--log=" + log],
            env=self.compositor_env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        if not wait_for(lambda: os.path.exists(os.path.join(run, self.socket)), 15):
            fail("weston did not start")
        self.start_watcher()
        return self

    def compositor_env(self):
        env = dict(os.environ)
        env["XDG_RUNTIME_DIR"] = self.runtime_dir()
        env.pop("DISPLAY", None)
        env.pop("WAYLAND_DISPLAY", None)
        return env

    def env(self, extra=None):
        env = super().env(extra)
        env.pop("DISPLAY", None)
        env.update({
            "WAYLAND_DISPLAY": self.socket,
            "QT_QPA_PLATFORM": "wayland",
            "XDG_SESSION_TYPE": "wayland",
        })
        if extra:
            env.update(extra)
        return env

    # The tray: a StatusNotifier watcher.

    def start_watcher(self):
        self.watcher = notifier.Watcher(self)

    def registered_items(self):
        """The services the program registered with the watcher, in order."""
        return self.watcher.registered_items()

    def item(self, service):
        """All properties of a registered item (None once it is gone)."""
        return notifier.item(service)

    # Looking at the screen.

    def screenshot(self, name, window="root"):
        """The whole output, through weston's screenshooter."""
        path = os.path.abspath(os.path.join(OUT, name + ".png"))
        before = set(os.listdir(OUT))
        result = subprocess.run(["weston-screenshooter"], cwd=OUT, env=self.env(),
                                capture_output=True, text=True, timeout=30)
        made = [f for f in set(os.listdir(OUT)) - before if f.startswith("wayland-screenshot")]
        if result.returncode != 0 or not made:
            fail("screenshot failed: " + result.stderr)
        os.replace(os.path.join(OUT, made[0]), path)
        print("screenshot: " + path)
        return path


def pixmap_pixels(pixmap):
    """(width, height, [(a, r, g, b), ...]) of one IconPixmap entry: ARGB32
    in network byte order."""
    width, height, data = int(pixmap[0]), int(pixmap[1]), bytes(bytearray(pixmap[2]))
    if len(data) != width * height * 4:
        fail(f"a {width}x{height} pixmap of {len(data)} bytes")
    return width, height, [tuple(data[i:i + 4]) for i in range(0, len(data), 4)]
