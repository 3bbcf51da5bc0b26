"""The tray host dies and comes back (a panel crash, a desktop restart): the
program keeps running, and both of its icons dock into the new tray within
8 s, the readout icon still painted. Twice, so the first re-docking leaves
nothing stale behind."""

import time

from harness import Desktop, fail, wait_for

REDOCK_SECONDS = 8


def readout_icons(d, icons):
    """The icons that show the coloured readout square."""
    out = []
    for icon in icons:
        path = d.screenshot("hostile_tray_icon_%d" % icon, icon)
        if d.pixel(path, 1, 1).startswith("srgb(255,0,0"):
            out.append(icon)
    return out


def main():
    with Desktop("hostile_tray") as d:
        d.start_app({"QUORVANE_SYS_ROOT": "/nonexistent"})
        d.window("Quorvane")
        if not wait_for(lambda: len(d.tray_icons()) == 2, 10):
            fail("expected two icons in the tray, found %d" % len(d.tray_icons()))

        for restart in (1, 2):
            d.kill_tray()
            if not wait_for(lambda: d.tray_panel() is None, 5):
                fail("the killed tray host's panel stayed")
            time.sleep(1)  # the program notices the tray is gone
            if d.app.poll() is not None:
                fail("the program ended when the tray host died (status %d)" % d.app.returncode)

            d.start_tray()
            started = time.monotonic()
            icons = wait_for(lambda: len(d.tray_icons()) == 2 and d.tray_icons(), REDOCK_SECONDS)
            if not icons:
                fail("restart %d: %d icon(s) in the new tray after %d s, expected 2"
                     % (restart, len(d.tray_icons()), REDOCK_SECONDS))
            print("restart %d: both icons back after %.1f s" % (restart, time.monotonic() - started))
            # The picture is repainted into the new icon window, not lost with the old one.
            if not wait_for(lambda: len(readout_icons(d, icons)) == 1, 3):
                fail("restart %d: the readout icon is not painted in the new tray" % restart)
        d.screenshot("hostile_tray_after_restarts")
        if d.app.poll() is not None:
            fail("the program ended (status %d)" % d.app.returncode)


if __name__ == "__main__":
    main()
