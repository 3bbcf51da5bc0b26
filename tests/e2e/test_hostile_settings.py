"""A settings file the program cannot use: a directory in its place, binary
junk, a stray line, a read-only file system, a full disk. The program starts
(on defaults where nothing can be read, on the file's values where it can),
applying an option in the settings window fails silently (the window closes,
no message, the program runs on), reopening the window shows what the store
still holds, and the file's bytes are never changed.

The read-only and full-disk cases mount a tmpfs, which needs root; they are
skipped with a message where mounting is not possible."""

import os
import re
import subprocess
import sys
import time

from harness import Desktop, fail, wait_for

# Pixels of the client areas (15 twips a pixel).
SETTINGS_TOOL = (728, 168)  # Image10 of the main window
APPLY_OPTIONS = (600, 243)  # Command5 "应用" of the options, in frame "设置"
OPTION = "CPU温度报警自动关机"  # flag "b"
LIMIT = "CPU温度报警提示上限"  # Form5.Combo1

# The small monitor window, titled with the date, comes and goes by itself.
SMALL_WINDOW = re.compile(r"\d+月\d+日")
STORED = b"[MyApp.Startup]\nForm5.Combo1=65\n\n[b.b]\nstatus=1\n"
JUNK = bytes((i * 37 + 11) % 256 for i in range(600))


def mount_tmpfs(path, size):
    os.makedirs(path, exist_ok=True)
    result = subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={size},mode=0700", "tmpfs", path],
                            capture_output=True, text=True)
    return result.returncode == 0, result.stderr.strip()


def unmount(path):
    subprocess.run(["umount", "-l", path], capture_output=True)


def fill(path):
    """Fills the file system that holds path up to the last byte."""
    fd = os.open(os.path.join(path, "filler"), os.O_WRONLY | os.O_CREAT, 0o600)
    try:
        for chunk in (4096, 1):
            try:
                while os.write(fd, b"\0" * chunk) > 0:
                    pass
            except OSError:
                pass
    finally:
        os.close(fd)


def snapshot(path):
    """What is at path, byte for byte (a directory by its entries)."""
    if os.path.isdir(path):
        return {name: snapshot(os.path.join(path, name)) for name in sorted(os.listdir(path))}
    with open(path, "rb") as f:
        return f.read()


def visible_titles(d):
    titles = set()
    for wid in d.search(".", by="--name"):
        titles.add(d.run("xdotool", "getwindowname", str(wid)).stdout.strip())
    return titles


def app_icon(d, name):
    """The application's tray icon, known by the role the program gives it."""
    icon = wait_for(lambda: d.tray_icon(1), 10)
    if not icon:
        fail(f"{name}: no application icon in the tray")
    return icon


def open_settings(d):
    d.click_in(d.window("Quorvane"), *SETTINGS_TOOL)
    return d.window("设置")


def limit_shown(d):
    """The CPU temperature limit as the settings window shows it: the text of
    the chooser after its caption."""
    def find():
        for caption, nodes in d.accessible().items():
            if not caption.startswith("设置"):
                continue
            for (role, name), (next_role, value) in zip(nodes, nodes[1:]):
                if role == "label" and name == LIMIT and next_role == "combo box":
                    return value
        return None
    return wait_for(find, 10, step=0.5)


def run_case(d, name, store_dir, ticked, limit):
    """One start of the program on a prepared store: it shows what the store
    holds (or the defaults), an apply fails quietly, the store is untouched."""
    before = snapshot(store_dir)
    d.start_app({"QUORVANE_SYS_ROOT": "/nonexistent"})
    d.window("Quorvane")
    titles = visible_titles(d)
    open_settings(d)
    shown = limit_shown(d)
    if shown != limit:
        fail(f"{name}: the settings window shows the limit {shown!r}, expected {limit!r}")
    if d.checked("设置", OPTION) != ticked:
        fail(f"{name}: {OPTION} starts {'un' if ticked else ''}ticked")

    d.act("设置", OPTION)
    d.click_in(d.window("设置"), *APPLY_OPTIONS)
    if not wait_for(lambda: not d.search("^设置$"), 5):
        fail(f"{name}: applying did not close the settings window")
    time.sleep(1)  # room for an error message to show up, which it must not
    if d.app.poll() is not None:
        fail(f"{name}: the program ended after applying (status {d.app.returncode})")
    new = {t for t in visible_titles(d) - titles
           if t not in ("Quorvane", "设置") and not SMALL_WINDOW.match(t)}
    if new:
        fail(f"{name}: applying showed {new}")
    after = snapshot(store_dir)
    if after != before:
        fail(f"{name}: the settings folder changed from {before!r} to {after!r}")

    # The store still holds what it held, so that is what the window shows
    # when it is opened again (from the tray, where applying left the program).
    if not d.search("^Quorvane$"):
        d.run("xdotool", "mousemove", "--window", str(app_icon(d, name)), "8", "8", "click", "1")
    open_settings(d)
    if d.checked("设置", OPTION) != ticked:
        fail(f"{name}: after the failed apply, {OPTION} shows as "
             f"{'un' if ticked else ''}ticked though the store did not change")
    d.stop_app()
    if snapshot(store_dir) != before:
        fail(f"{name}: the settings folder changed by the end of the run")
    print(f"{name}: starts as the store says, applying fails quietly, store unchanged")


def prepare(case, store_dir):
    """Puts the store for one case in place; returns (option ticked, limit
    shown), or None when the case cannot be set up here."""
    ini = os.path.join(store_dir, "settings.ini")
    os.makedirs(store_dir)

    def put(content):
        with open(ini, "wb") as f:
            f.write(content)

    # Nothing readable: defaults everywhere.
    if case == "directory":
        os.makedirs(os.path.join(ini, "inner"))
        return False, "72"
    if case == "junk":
        put(JUNK)
        return False, "72"
    # The lines that parse are read; the file is still never written over.
    if case == "stray-line":
        put(STORED + b"stray words\n")
        return True, "65"
    mounted, why = mount_tmpfs(store_dir, "16k")
    if not mounted:
        print(f"skipped: {case} (cannot mount a tmpfs: {why})")
        return None
    put(STORED)
    if case == "read-only":
        subprocess.run(["mount", "-o", "remount,ro", store_dir], check=True)
    if case == "full-disk":
        fill(store_dir)
    return True, "65"


CASES = {
    "directory": "settings.ini a directory",
    "junk": "settings.ini binary junk",
    "stray-line": "settings.ini with a stray line",
    "read-only": "settings.ini on a read-only file system",
    "full-disk": "settings.ini on a full disk",
}


def main():
    # One process per case, each on its own session bus (and so its own
    # accessibility bus, which goes with the display it was started for), and
    # in a mount namespace of its own where we may, so that no mount outlives it.
    if len(sys.argv) == 1:
        isolate = ["unshare", "--mount", "--propagation", "private"]
        if subprocess.run(isolate + ["true"], capture_output=True).returncode != 0:
            isolate = []
        failed = [case for case in CASES if subprocess.run(
            isolate + ["dbus-run-session", "--", sys.executable, __file__, case]).returncode]
        if failed:
            fail(f"failed: {', '.join(failed)}")
        return
    case = sys.argv[1]
    with Desktop("hostile_settings_" + case) as d:
        store_dir = os.path.join(d.home, ".config/quorvane")
        try:
            expected = prepare(case, store_dir)
            if expected:
                run_case(d, CASES[case], store_dir, *expected)
        finally:
            d.stop_app()
            unmount(store_dir)


if __name__ == "__main__":
    main()
