"""One copy per session: a second start while the program runs (the menu
entry clicked again, autostart beside a manual start) brings the running
copy's main window back from the tray and ends within a second, with
status 0, having written nothing and added no tray icon. Once through the
session bus, once without one, where a lock file in XDG_RUNTIME_DIR stands
in for the bus name."""

import hashlib
import os
import subprocess
import time

from harness import BIN, Desktop, fail, wait_for


def files(root):
    """Every file under root with a digest of its content."""
    found = {}
    for dirpath, _, names in os.walk(root):
        for name in names:
            path = os.path.join(dirpath, name)
            with open(path, "rb") as f:
                found[os.path.relpath(path, root)] = hashlib.sha256(f.read()).hexdigest()
    return found


def second_start(d, extra_env):
    """Starts the program again; (exit status, seconds it ran)."""
    env = d.env(extra_env)
    started = time.monotonic()
    second = subprocess.Popen([BIN], env=env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    try:
        status = second.wait(10)
    except subprocess.TimeoutExpired:
        second.kill()
        second.wait()
        fail("the second start was still running after 10 s")
    return status, time.monotonic() - started


def check(name, extra_env, lock=False):
    with Desktop(name) as d:
        d.start_app(extra_env)
        main_window = d.window("Quorvane", timeout=20)
        if not wait_for(lambda: len(d.tray_icons()) == 2, 20):
            fail("expected two tray icons, found %d" % len(d.tray_icons()))
        d.close_window(main_window, "Quorvane")
        if d.search("^Quorvane$"):
            fail("closing did not hide the main window")
        config = os.path.join(d.home, ".config")
        before = files(config)

        status, took = second_start(d, extra_env)
        print(f"{name}: the second start ended with {status} after {took:.2f} s")
        if status != 0:
            fail(f"the second start ended with status {status}")
        if took >= 1.0:
            fail(f"the second start took {took:.2f} s to end")
        if not wait_for(lambda: d.search("^Quorvane$"), 5):
            fail("the running copy's main window did not come back")
        if len(d.search("^Quorvane$")) != 1:
            fail("more than one main window is shown")
        time.sleep(1)
        if len(d.tray_icons()) != 2:
            fail("the tray holds %d icons after the second start" % len(d.tray_icons()))
        if d.app.poll() is not None:
            fail("the running copy ended")
        after = files(config)
        if after != before:
            fail(f"the second start wrote to {config}: {before} -> {after}")
        if lock and not os.path.exists(os.path.join(d.runtime_dir(),
                                                    "org.quorvane.Quorvane.lock")):
            fail("no lock file in XDG_RUNTIME_DIR")
        d.screenshot(name)


def main():
    if not os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
        fail("needs a session bus of its own (dbus-run-session)")
    check("single_instance_bus", None)

    # No session bus: nothing listens at this address.
    no_bus = {"DBUS_SESSION_BUS_ADDRESS": "unix:path=/nonexistent/quorvane-no-bus"}
    check("single_instance_lock", no_bus, lock=True)
    print("single instance: passed")


if __name__ == "__main__":
    main()
