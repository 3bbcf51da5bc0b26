"""Both tray icons dock; the close box hides the main window to the tray, a
left click on the application icon restores it, and the tray menu's "退出"
ends the program and takes the icons away."""

import time

from harness import Desktop, fail, wait_for


def main():
    with Desktop("tray") as d:
        d.start_app({"QUORVANE_SYS_ROOT": "/nonexistent"})
        wid = d.window("Quorvane")
        icons = wait_for(lambda: len(d.tray_icons()) == 2 and d.tray_icons(), 10)
        if not icons:
            fail("expected two icons in the tray, found %d" % len(d.tray_icons()))
        app = wait_for(lambda: d.tray_icon(1), 5)
        if not app:
            fail("no window in the tray has the application icon's role")
        d.screenshot("tray_both_icons")

        # The close box hides the window; the program and its icons stay.
        d.close_window(wid, "Quorvane")
        if not wait_for(lambda: not d.search("^Quorvane$"), 5):
            fail("the close box did not hide the main window")
        time.sleep(0.5)
        if d.app.poll() is not None:
            fail("closing the main window ended the program")
        if not wait_for(lambda: len(d.tray_icons()) == 2, 3):
            fail("the tray icons went away with the window")

        # A left click on the application icon brings it back.
        d.run("xdotool", "mousemove", "--window", str(app), "8", "8", "click", "1")
        if not wait_for(lambda: d.search("^Quorvane$"), 5):
            fail("a left click on the tray icon did not restore the main window")

        # The context gesture opens the menu; "退出" ends the program.
        d.run("xdotool", "mousemove", "--window", str(app), "8", "8", "click", "3")
        time.sleep(0.5)
        d.screenshot("tray_menu")
        d.run("xdotool", "key", "Down", "Return")
        if not wait_for(lambda: d.app.poll() is not None, 5):
            fail("the tray menu's 退出 did not end the program")
        if d.app.returncode != 0:
            fail("the program ended with status %d" % d.app.returncode)
        if not wait_for(lambda: len(d.tray_icons()) == 0, 3):
            fail("the tray icons stayed after the exit")


if __name__ == "__main__":
    main()
