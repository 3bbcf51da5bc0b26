"""At 80 °C the CPU-temperature warning comes within 36 s: the balloon
"警告(CPU温度)" with the reading, the readout turns orange, both tray icons
stay, and the readout icon is red with white digits. The program runs ten
times faster here (libfaketime)."""

import time

import sensors
from harness import Desktop, fail, wait_for

SPEED = 5
ORANGE = "srgb(255,128,0)"
READOUT = (96, 344, 64, 40)  # Label16 in pixels of the main window's client area


def has_pixel(d, path, box, colour):
    x, y, w, h = box
    out = d.run("convert", path, "-crop", f"{w}x{h}+{x}+{y}", "-depth", "8", "txt:-").stdout
    return colour in out


def white_pixels(d, path):
    out = d.run("convert", path, "-depth", "8", "txt:-").stdout
    return out.count("(255,255,255)")


def main():
    root = sensors.machine(80000, 38000)
    with Desktop("warning") as d:
        d.start_app({"QUORVANE_SYS_ROOT": root}, speed=SPEED)
        d.window("Quorvane")
        d.all_names()  # the accessibility registry learns of the program

        balloon = wait_for(lambda: "警告(CPU温度)" in d.balloon() and d.balloon(),
                           36 * 1.05 / SPEED + 3, step=0.1)
        if not balloon:
            fail("no warning balloon within 36 s")
        if "CPU温度：80℃" not in balloon:
            fail(f"the balloon does not show the reading: {balloon}")
        d.screenshot("warning_balloon")

        # The warning hid the main window, and hides it again a second later;
        # after that the tray brings it back.
        time.sleep(2.0 / SPEED)
        icons = d.tray_icons()
        if len(icons) != 2:
            fail(f"expected two tray icons, found {len(icons)}")
        d.run("xdotool", "mousemove", "--window", str(icons[0]), "8", "8", "click", "1")
        main_window = d.window("Quorvane")
        shot = d.screenshot("warning_main", main_window)
        if not has_pixel(d, shot, READOUT, ORANGE):
            fail("the CPU readout is not orange")

        # The readout icon: red (CPU temperature) with white digits, once the
        # automatic cycle shows the CPU temperature.
        def red_icon():
            for icon in d.tray_icons():
                path = d.screenshot("warning_icon", icon)
                if d.pixel(path, 0, 0) == "srgb(255,0,0)" and white_pixels(d, path) > 10:
                    return path
            return None
        if not wait_for(red_icon, 20 / SPEED + 5, step=0.2):
            fail("the readout icon never showed white digits on red")
        d.screenshot("warning_desktop")


if __name__ == "__main__":
    main()
