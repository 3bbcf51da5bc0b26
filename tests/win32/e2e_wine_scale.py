"""quorvane.exe at 150 % (144 dpi) on a 1280 x 800 screen, where its main
window and its settings window are taller than the screen at that scale:
every window it shows lies inside the work area of its monitor, and the
main window, laid out a little smaller to fit, still shows all its
captions.

Runs in a copy of the build's Wine prefix (WINEPREFIX) with the display
set to 144 dpi, with QUORVANE_DRY_RUN=1. The screenshots are in
QUORVANE_E2E_OUT."""

import os
import shutil
import subprocess
import sys
import tempfile

from harness import OUT, Desktop, fail, wait_for

EXE = os.environ["QUORVANE_EXE"]
READ_WINDOWS = os.environ["QUORVANE_READ_WINDOWS"]
WINDOW_PLACES = os.environ["QUORVANE_WINDOW_PLACES"]
SETTINGS_TOOL = (728, 168)  # Image10 "主设置" at 96 dpi, in client pixels
MAIN_CAPTIONS = ["CPU温度", "CPU使用率", "内存使用率", "硬盘温度", "计算器"]


class ScaledDesktop(Desktop):
    def __init__(self, prefix):
        super().__init__("win_scale", size="1280x800")
        self.prefix = prefix
        self.program = None

    def wine_env(self):
        env = self.env()
        env.update({"WINEPREFIX": self.prefix, "WINEDEBUG": "-all",
                    "WINEDLLOVERRIDES": "mscoree,mshtml="})
        return env

    def wine(self, *args, timeout=60):
        return subprocess.run(["wine"] + list(args), env=self.wine_env(), capture_output=True,
                              timeout=timeout)

    def places(self):
        """[(caption, window rect, work area, dpi)] of the windows the program
        shows (those of the process that shows the main window)."""
        out = self.wine(WINDOW_PLACES).stdout.decode("utf-8", "replace")
        rows = [line.split("\t") for line in out.splitlines()]
        rows = [r for r in rows if len(r) == 11]
        # Known by its main window, which hides while the settings are open.
        self.program = self.program or {r[0] for r in rows if r[1] == "Quorvane"}
        program = self.program
        found = []
        for r in rows:
            if r[0] in program:
                numbers = [int(c) for c in r[2:]]
                found.append((r[1], numbers[0:4], numbers[4:8], numbers[8]))
        return found

    def place(self, caption):
        for found in self.places():
            if found[0] == caption:
                return found
        return None


def check_inside(places, least):
    """Every window shown (at least `least` of them) lies in its work area."""
    print("windows shown:", [(caption, rect) for caption, rect, _, _ in places])
    if len(places) < least:
        fail(f"expected {least} windows or more")
    for caption, rect, work, _ in places:
        if rect[0] < work[0] or rect[1] < work[1] or rect[2] > work[2] or rect[3] > work[3]:
            fail(f"the window {caption!r} at {rect} reaches beyond the work area {work}")


def main():
    source = os.environ["WINEPREFIX"]
    work = tempfile.mkdtemp(prefix="quorvane-scale-")
    prefix = os.path.join(work, "prefix")
    try:
        # Linked, not copied: the prefix is large, and Wine replaces the
        # files it changes (the registry) rather than writing into them.
        shutil.copytree(source, prefix, symlinks=True, copy_function=os.link)
        for hive in ("system.reg", "user.reg", "userdef.reg"):
            os.unlink(os.path.join(prefix, hive))
            shutil.copyfile(os.path.join(source, hive), os.path.join(prefix, hive))
        with ScaledDesktop(prefix) as d:
            env = d.wine_env()
            subprocess.run(["wineserver", "-k"], env=env, capture_output=True)
            # Where Wine (and winecfg) keep the display's dpi.
            for key in (r"HKCU\Control Panel\Desktop", r"HKCC\Software\Fonts"):
                d.wine("reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", "144",
                       "/f")
            subprocess.run(["wineserver", "-w"], env=env, capture_output=True, timeout=120)
            if env.get("QUORVANE_DRY_RUN") != "1":
                fail("refusing to start the program without dry run")
            d.log = open(os.path.join(OUT, "win_scale.log"), "w")
            d.app = subprocess.Popen(["wine", EXE], env=env, stdout=d.log,
                                     stderr=subprocess.STDOUT)
            main_window = d.window("Quorvane", timeout=60)
            _, rect, area, dpi = wait_for(lambda: d.place("Quorvane"), 10)
            print("main window at 150 %:", rect, "work area", area, "dpi", dpi)
            if dpi != 144:
                fail(f"the display is at {dpi} dpi, not 144: the test would prove nothing")
            # Its designed size at 144 dpi (1167 x 851 client pixels) does not fit.
            if rect[3] - rect[1] > area[3] - area[1] or rect[2] - rect[0] >= 1167 + 16:
                fail(f"the main window was not made to fit: {rect}")

            out = d.wine(READ_WINDOWS, "Quorvane").stdout.decode("utf-8", "replace")
            missing = [c for c in MAIN_CAPTIONS if c not in out]
            if missing:
                fail(f"the main window lacks {missing} at 150 %")
            d.screenshot("win_scale_main_window", main_window)
            check_inside(d.places(), 2)

            # The settings window is taller than the screen at 150 % too. Its
            # tool is where the main window's scale puts it (the client area
            # is 778 pixels wide at 100 %).
            scale = d.geometry(main_window)[2] / 778
            print("main window drawn at", round(scale * 100), "%")
            d.click_in(main_window, int(SETTINGS_TOOL[0] * scale), int(SETTINGS_TOOL[1] * scale))
            d.window("设置", timeout=20)
            places = d.places()
            if "设置" not in [caption for caption, _, _, _ in places]:
                fail("the settings window is not shown")
            check_inside(places, 2)
            d.screenshot("win_scale_desktop")
            d.app.terminate()
            subprocess.run(["wineserver", "-k"], env=env, capture_output=True)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("win_e2e_scale: passed")


if __name__ == "__main__":
    sys.exit(main())
