"""On a Wayland desktop whose tray is a StatusNotifier watcher (Plasma, GNOME
with the AppIndicator extension): both tray icons register with the watcher,
the readout icon exports the picture drawn with the reading, and the windows
the program places or keeps on top, which Wayland lets no client do, still
come up and answer: the small monitor window at start and the
over-temperature countdown, cancelled with "取消关机". Nothing crashes.
The program runs three times faster here (libfaketime)."""

import os
import re
import time

import sensors
from harness import fail, wait_for
from wayland import WaylandDesktop, pixmap_pixels

SPEED = 3
LEGEND = "红色:CPU温度\n绿色:CPU使用率/星期\n橙色:硬盘温度\n黄色:内存使用率"
COUNTDOWN = "VELT-温馨提示"


def store(home):
    folder = os.path.join(home, ".config", "quorvane")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "settings.ini"), "w", encoding="utf-8") as f:
        f.write("[b.b]\nstatus=1\n")  # "CPU温度报警自动关机": the countdown comes


def captions(d):
    """The captions of the program's windows that show now."""
    import pyatspi
    return [w.name for w in d._windows() if w.getState().contains(pyatspi.STATE_SHOWING)]


def tooltip_text(props):
    # ToolTip is (icon name, pixmaps, title, text); Qt puts the tooltip in
    # the title.
    tip = props.get("ToolTip")
    return "%s\n%s" % (tip[2], tip[3]) if tip else ""


def is_drawn_reading(pixmaps):
    """A drawn readout: an opaque square of one background colour with the
    number in white. The application's own picture has clear corners."""
    if not pixmaps:
        return False
    width, height, pixels = pixmap_pixels(max(pixmaps, key=lambda p: int(p[0])))
    opaque = all(a == 255 for a, _, _, _ in pixels)
    white = sum(1 for p in pixels if p == (255, 255, 255, 255))
    return width == height and opaque and 0 < white < len(pixels) // 2


def main():
    root = sensors.machine(80000, 38000)
    with WaylandDesktop("wayland") as d:
        store(d.home)
        app = d.start_app({"QUORVANE_SYS_ROOT": root}, speed=SPEED)

        # The tray: two items, registered over D-Bus.
        items = wait_for(lambda: len(d.registered_items()) >= 2 and d.registered_items(), 20)
        if not items:
            fail(f"expected two items with the watcher, it has {d.registered_items()}")
        if len(items) != 2 or len(set(items)) != 2:
            fail(f"the program registered {items}")
        props = {service: d.item(service) for service in items}
        readout = [s for s, p in props.items() if p and tooltip_text(p).strip() == LEGEND]
        if len(readout) != 1:
            fail("no item carries the readout legend: %s" %
                 {s: tooltip_text(p) for s, p in props.items() if p})
        readout = readout[0]
        # The picture comes with the first reading, 8 program seconds on.
        drawn = wait_for(lambda: is_drawn_reading((d.item(readout) or {}).get("IconPixmap")),
                         8 / SPEED + 15, step=0.5)
        if not drawn:
            fail("the readout item exports no drawn picture: %r" %
                 [(p[0], p[1], len(p[2])) for p in (d.item(readout) or {}).get("IconPixmap", [])])
        application = items[0] if items[1] == readout else items[1]
        if not (d.item(application) or {}).get("IconPixmap"):
            fail("the application item exports no picture")

        # The windows: the main window, the small monitor window at its
        # design place (which the compositor decides here), always on top.
        if not d.names("Quorvane", timeout=15):
            fail("the main window did not come up")
        small = wait_for(lambda: [c for c in captions(d)
                                  if c.startswith("检测中") or re.match(r"\d+月\d+日", c)], 15,
                         step=0.5)
        if not small:
            fail("the small monitor window did not come up: %s" % captions(d))

        # The countdown, on top of everything on X, is a window that shows
        # and can be cancelled here too.
        window = wait_for(lambda: COUNTDOWN in captions(d), 36 * 1.05 / SPEED + 15, step=0.2)
        if not window:
            fail("no countdown window within 36 program seconds")
        d.screenshot("wayland_countdown")
        d.act(COUNTDOWN, "取消关机")
        if not wait_for(lambda: COUNTDOWN not in captions(d), 5, step=0.2):
            fail("the countdown window stayed after 取消关机")

        time.sleep(1)
        if app.poll() is not None:
            fail("the program ended with status %d" % app.returncode)
        # Still answering: both items are there.
        if any(d.item(s) is None for s in items):
            fail("a tray item went away")
        d.stop_app()


if __name__ == "__main__":
    main()
