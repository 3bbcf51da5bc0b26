"""A reminder slot comes up by itself: with "开启多段提醒" ticked, the balloon
option off and a slot stored for 8:05, the program started at 8:04:30 shows
the popup "VELT-提醒" with the slot's message about 62 s after its clock
first reads 8:05, above other windows, with the main window hidden, and
without any click.

The wall clock is faked (libfaketime, a start time); the monotonic clock
stays real, so the timers run at their real rate."""

import os
import time

from harness import FAKETIME, Desktop, fail, wait_for

START = "2026-12-11 08:04:30"
TO_MINUTE = 30  # seconds from the start to 8:05:00
MESSAGE = "该开会了 (slot 7)"
SLOT = 7  # owns Combo22 (hour), Combo23 (minute), Combo24 (message)


def write_store(home):
    folder = os.path.join(home, ".config", "quorvane")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "settings.ini"), "w", encoding="utf-8") as f:
        f.write("[MyApp.Startup]\n")
        f.write(f"Form17.Combo{3 * SLOT + 1}=8\n")
        f.write(f"Form17.Combo{3 * SLOT + 2}=05\n")
        f.write(f"Form17.Combo{3 * SLOT + 3}={MESSAGE}\n")
        f.write("[j.j]\nstatus=1\n")  # "开启多段提醒"
        f.write("[f.f]\nstatus=0\n")  # the popup, not a balloon
        f.write("[a.a]\nstatus=1\n")  # no small monitor window in the way


def main():
    with Desktop("reminder_slots") as d:
        write_store(d.home)
        started = time.monotonic()
        d.start_app({"QUORVANE_SYS_ROOT": "/nonexistent",
                     "LD_PRELOAD": FAKETIME,
                     "FAKETIME": "@" + START,
                     "FAKETIME_DONT_FAKE_MONOTONIC": "1"})
        d.window("Quorvane", timeout=20)

        # The matcher ticks every 6 s once the settings window's tick (6.6 s)
        # has switched it on, so its first 8:05 comes at most 6 s into the
        # minute; the popup follows 62 s after that.
        latest = TO_MINUTE + 62 + 6 + 6.6 + 10
        popup = wait_for(lambda: d.search("^VELT-提醒$"), latest - (time.monotonic() - started),
                         step=0.2)
        came = time.monotonic() - started
        if not popup:
            fail(f"no popup within {latest:.0f} s of the start")
        if came < TO_MINUTE + 62 - 1:
            fail(f"the popup came {came:.1f} s after the start, before 8:06:02")
        print(f"popup after {came:.1f} s")

        names = d.names("VELT-提醒")
        if MESSAGE not in names:
            fail(f"the popup does not show the slot's message: {names}")
        state = d.run("xprop", "-id", str(popup[0]), "_NET_WM_STATE").stdout
        if "_NET_WM_STATE_ABOVE" not in state:
            fail(f"the popup is not kept above other windows: {state}")
        if not wait_for(lambda: not d.search("^Quorvane$"), 3):
            fail("the main window stayed up with the reminder")
        d.screenshot("reminder_slot_popup")


if __name__ == "__main__":
    main()
