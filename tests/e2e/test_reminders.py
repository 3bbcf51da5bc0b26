"""The reminders come up by themselves. The program starts at 8:04:30 with
a date reminder stored as running for 8:05 today, a reminder slot for 8:05
(with "开启多段提醒" ticked and the balloon option off) and timed action 1 set
to remind at 8:05, which the test starts from the main window's "确定". About
62 s after the clock first reads 8:05 the three popups are up, above other
windows, with their texts, and the main window is hidden; a moment later
the timed action's popup shows the date line.

The wall clock is faked (libfaketime, a start time); the monotonic clock
stays real, so the timers run at their real rate."""

import os
import time

from harness import FAKETIME, Desktop, fail, wait_for

START = "2026-12-11 08:04:30"
TO_MINUTE = 30  # seconds from the start to 8:05:00
SLOT_TEXT = "该开会了 (slot 7)"
SLOT = 7  # owns Combo22 (hour), Combo23 (minute), Combo24 (message)
DATE_TEXT = "生日！"
TIMED_TEXT = "聚会！"
POPUPS = {"VELT-提醒": SLOT_TEXT, "VELT-日程-温馨提醒": DATE_TEXT, "VELT-定时-温馨提醒": TIMED_TEXT}
CONFIRM = (590, 278)  # the timed action's "确定", in pixels of the main window


def write_store(home):
    folder = os.path.join(home, ".config", "quorvane")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "settings.ini"), "w", encoding="utf-8") as f:
        f.write("[MyApp.Startup]\n")
        f.write(f"Form17.Combo{3 * SLOT + 1}=8\n")
        f.write(f"Form17.Combo{3 * SLOT + 2}=05\n")
        f.write(f"Form17.Combo{3 * SLOT + 3}={SLOT_TEXT}\n")
        for key, value in (("Combo4", "2026"), ("Combo5", "12"), ("Combo6", "11"),
                           ("Combo8", "8"), ("Combo9", "05"), ("Combo7", DATE_TEXT),
                           ("Combo1", "8"), ("Combo2", "05"), ("Combo3", TIMED_TEXT),
                           ("Option5", "True")):
            f.write(f"Form1.{key}={value}\n")
        f.write("[t.t]\nstatus=1\n")  # the date reminder runs
        f.write("[j.j]\nstatus=1\n")  # "开启多段提醒"
        f.write("[f.f]\nstatus=0\n")  # the popup, not a balloon
        f.write("[a.a]\nstatus=1\n")  # no small monitor window in the way


def main():
    with Desktop("reminders") as d:
        write_store(d.home)
        started = time.monotonic()
        d.start_app({"QUORVANE_SYS_ROOT": "/nonexistent",
                     "LD_PRELOAD": FAKETIME,
                     "FAKETIME": "@" + START,
                     "FAKETIME_DONT_FAKE_MONOTONIC": "1"})
        main_window = d.window("Quorvane", timeout=20)
        d.click_in(main_window, *CONFIRM)
        if not wait_for(lambda: "定时运行 " in d.names("Quorvane"), 10, step=0.5):
            fail("timed action 1 did not start from its 确定")

        # The checks tick every 6 s, so each sees 8:05 at most 6 s into the
        # minute (the slots' once the settings window's first tick, 6.6 s
        # after the start, has switched it on); the popups follow 62 s later.
        latest = TO_MINUTE + 62 + 6 + 6.6 + 10
        for caption, text in POPUPS.items():
            popup = wait_for(lambda: d.search("^" + caption + "$"),
                             latest - (time.monotonic() - started), step=0.2)
            came = time.monotonic() - started
            if not popup:
                fail(f"no {caption} within {latest:.0f} s of the start")
            if came < TO_MINUTE + 62 - 1:
                fail(f"{caption} came {came:.1f} s after the start, before 8:06:02")
            print(f"{caption} after {came:.1f} s")
            names = d.names(caption)
            if text not in names:
                fail(f"{caption} does not show {text!r}: {names}")
            state = d.run("xprop", "-id", str(popup[0]), "_NET_WM_STATE").stdout
            if "_NET_WM_STATE_ABOVE" not in state:
                fail(f"{caption} is not kept above other windows: {state}")
        if not wait_for(lambda: not d.search("^Quorvane$"), 3):
            fail("the main window stayed up with the reminders")
        date_line = wait_for(
            lambda: [n for n in d.names("VELT-定时-温馨提醒") if n.startswith("2026年12月11日 8:0")],
            10, step=0.5)
        if not date_line or not date_line[0].endswith(" 星期五"):
            fail(f"the timed reminder shows no date line: {d.names('VELT-定时-温馨提醒')}")
        d.screenshot("reminders")


if __name__ == "__main__":
    main()
