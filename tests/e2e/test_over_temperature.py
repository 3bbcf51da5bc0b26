"""At 80 °C with "CPU温度报警自动关机" ticked, the countdown window
"VELT-温馨提示" comes within 36 s and, 11 s later, logind is asked to power
the machine off exactly once and the program ends; pressing "取消关机" in
time means logind is never asked. Where logind refuses, the program keeps
watching: the window goes, a balloon says so, and the next check counts down
again. logind is python3-dbusmock's, on a bus of the test's own. The program
runs five times faster here (libfaketime)."""

import os
import time

import sensors
from harness import Desktop, fail, wait_for
from logind import PrivateLogind

SPEED = 5
CAPTION = "VELT-温馨提示"
MESSAGE = "CPU温度报警，计算机即将自动关闭！"


def store(home, count=None):
    folder = os.path.join(home, ".config", "quorvane")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "settings.ini"), "w", encoding="utf-8") as f:
        f.write("[b.b]\nstatus=1\n")  # "CPU温度报警自动关机"
        f.write("[a.a]\nstatus=1\n")  # no small monitor window in the way
        if count:  # "报警自动关机延时"
            f.write("[MyApp.Startup]\nForm5.Combo6=%d\n" % count)


def countdown(d, started):
    window = wait_for(lambda: d.search("^" + CAPTION + "$"), 36 * 1.05 / SPEED + 15, step=0.1)
    if not window:
        fail("no countdown window within 36 s")
    opened = time.monotonic()
    print(f"countdown after {(opened - started) * SPEED:.1f} program seconds")
    names = d.names(CAPTION)
    if MESSAGE not in names or "取消关机" not in names:
        fail(f"the countdown window shows {names}")
    return window[0], opened


def power_off_happens(root):
    with PrivateLogind("over_temperature") as logind, Desktop("over_temperature") as d:
        store(d.home)
        started = time.monotonic()
        app = d.start_app(dict(logind.env(), QUORVANE_SYS_ROOT=root), speed=SPEED)
        _, opened = countdown(d, started)
        d.screenshot("over_temperature_countdown")
        if not logind.wait_for_action(11 * 1.1 / SPEED + 5):
            fail("logind was never asked to power off")
        after = (time.monotonic() - opened) * SPEED
        if after < 11 * 0.8:
            fail(f"the power-off came {after:.1f} program seconds after the window, not 11")
        if not wait_for(lambda: app.poll() is not None, 5):
            fail("the program did not end after the power-off")
        time.sleep(1)
        actions = logind.actions()
        if actions != [("PowerOff", [False])]:
            fail(f"logind was asked {actions}, not one PowerOff(false)")


def cancel_stops_it(root):
    with PrivateLogind("over_temperature_cancel") as logind, \
            Desktop("over_temperature_cancel") as d:
        store(d.home)
        started = time.monotonic()
        app = d.start_app(dict(logind.env(), QUORVANE_SYS_ROOT=root), speed=SPEED)
        window, _ = countdown(d, started)
        d.act(CAPTION, "取消关机")
        if not wait_for(lambda: window not in d.search("^" + CAPTION + "$"), 5):
            fail("the countdown window stayed after 取消关机")
        # Longer than the count; the next check (36 s on) opens it again.
        time.sleep(20 / SPEED)
        if logind.actions():
            fail(f"logind was asked {logind.actions()} after a cancel")
        if app.poll() is not None:
            fail("the program ended after a cancel")


def refusal_keeps_it_running(root):
    with PrivateLogind("over_temperature_refused", {"CanPowerOff": "no"}) as logind, \
            Desktop("over_temperature_refused") as d:
        # A longer count: the window is read before the refusal closes it.
        store(d.home, 25)
        started = time.monotonic()
        app = d.start_app(dict(logind.env(), QUORVANE_SYS_ROOT=root), speed=SPEED)
        window, _ = countdown(d, started)
        balloon = wait_for(lambda: "系统拒绝了关机请求" in d.balloon() and d.balloon(),
                           24 * 1.1 / SPEED + 5, step=0.1)
        if not balloon:
            fail("no balloon after logind refused the power-off")
        if "操作失败" not in balloon:
            fail(f"the refusal balloon shows {balloon}")
        d.screenshot("over_temperature_refused")
        if not wait_for(lambda: window not in d.search("^" + CAPTION + "$"), 5):
            fail("the countdown window stayed after the refusal")
        if app.poll() is not None:
            fail("the program ended after a refused power-off")
        asked = [name for name, _ in logind.calls()]
        if "CanPowerOff" not in asked or logind.actions():
            fail(f"logind was asked {asked}, not only CanPowerOff")
        # The next run of the check, 36 s after the first, counts down again.
        if not wait_for(lambda: d.search("^" + CAPTION + "$"), 36 * 1.05 / SPEED + 10, step=0.1):
            fail("no second countdown after the refusal")
        if app.poll() is not None:
            fail("the program ended")


def main():
    root = sensors.machine(80000, 38000)
    power_off_happens(root)
    cancel_stops_it(root)
    refusal_keeps_it_running(root)


if __name__ == "__main__":
    main()
