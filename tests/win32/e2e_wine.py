"""quorvane.exe under Wine on a private X display with openbox and trayer:
it starts with the main window's Chinese captions and the common controls of
version 6, docks both tray icons, hides to the tray and comes back from a
second start of the program (which ends at once, writing nothing) and from a
click on an icon, ends from the tray menu, and an option applied in the
settings window is in the registry and in force after a restart.

Runs in the build's Wine prefix (WINEPREFIX) with QUORVANE_DRY_RUN=1, so
that nothing the program could start or switch off is carried out. The
screenshots are in QUORVANE_E2E_OUT, to be looked at."""

import os
import subprocess
import sys
import time

from harness import Desktop, fail, wait_for

EXE = os.environ["QUORVANE_EXE"]
READ_WINDOWS = os.environ["QUORVANE_READ_WINDOWS"]
PROCESS_MODULES = os.environ["QUORVANE_PROCESS_MODULES"]
PREFIX = os.environ["WINEPREFIX"]

# Pixels of the client areas at 96 dpi (15 twips a pixel).
SETTINGS_TOOL = (728, 168)   # Image10 of the main window, "主设置"
CPU_SHUTDOWN_BOX = (22, 232)  # Check2 of the settings window, in frame "设置"
APPLY_OPTIONS = (600, 243)    # Command5 "应用" of the options
MAIN_CAPTIONS = ["CPU温度", "CPU使用率", "内存使用率", "硬盘温度", "时间和日期", "任务管理器",
                 "弹出光驱", "计算器"]
STORE = r"HKCU\Software\VB and VBA Program Settings"


class WineDesktop(Desktop):
    def wine_env(self):
        env = self.env()
        env.update({"WINEPREFIX": PREFIX, "WINEDEBUG": "-all",
                    "WINEDLLOVERRIDES": "mscoree,mshtml="})
        return env

    def wine(self, *args, timeout=60):
        return subprocess.run(["wine"] + list(args), env=self.wine_env(), capture_output=True,
                              timeout=timeout)

    def start_app(self, extra_env=None, speed=None):
        env = self.wine_env()
        if env.get("QUORVANE_DRY_RUN") != "1":
            fail("refusing to start the program without dry run")
        self.log = open(os.path.join(self.out(), self.name + ".log"), "a")
        self.app = subprocess.Popen(["wine", EXE], env=env, stdout=self.log,
                                    stderr=subprocess.STDOUT)
        return self.app

    def out(self):
        return os.environ.get("QUORVANE_E2E_OUT", ".")

    def controls(self, caption):
        """(class, text, check state, visible) of each control of the shown
        window with this caption; [] while there is none."""
        result = self.wine(READ_WINDOWS, caption)
        if result.returncode != 0:
            return []
        rows = result.stdout.decode("utf-8", "replace").splitlines()
        return [tuple(row.split("\t")) for row in rows if row.count("\t") == 3]

    def restore_from_tray(self):
        """Clicks the tray icons, leftmost first, until the main window is
        back; the icon that brought it back (both bring the same restore and
        menu). Wine's docking into trayer is not reliable: now and then an
        icon is docked but stays blank and takes no clicks, a plain Win32
        tray program's as well as ours. A person would restart the tray;
        so does the test, once or twice, and Wine docks the icons anew."""
        for attempt in range(3):
            icons = sorted(self.tray_icons(), key=lambda icon: self.geometry(icon)[0])
            for icon in icons:
                self.run("xdotool", "mousemove", "--window", str(icon), "8", "8", "click", "1")
                if wait_for(lambda: self.search("^Quorvane$"), 3):
                    return icon
            print("the tray icons took no click; starting trayer again")
            self.kill_tray()
            self.start_tray()
            wait_for(lambda: len(self.tray_icons()) == 2, 10)
            time.sleep(2)
        fail("a left click on the tray icons did not restore the main window")

    def timed_run(self, *args):
        """Runs a Windows program to its end: (exit status, seconds)."""
        started = time.monotonic()
        try:
            result = self.wine(*args, timeout=30)
        except subprocess.TimeoutExpired:
            fail(f"{args} did not end within 30 s")
        return result.returncode, time.monotonic() - started

    def check_state(self, caption, text):
        for cls, label, check, _ in self.controls(caption):
            if label == text:
                return check
        return None


def main():
    # The prefix's server may belong to an earlier display: a new session
    # here, so that its tray docks into this display's tray host.
    env = dict(os.environ, WINEDEBUG="-all")
    # The prefix's server may have a desktop process from a test without a
    # display: a session of this test's own, whose tray is on its display.
    # (The test runs alone: ctest's RUN_SERIAL.)
    subprocess.run(["wineserver", "-k"], env=env, capture_output=True)
    with WineDesktop("win_e2e", size="1024x768") as d:
        d.wine("reg", "delete", STORE, "/f")

        d.start_app()
        main_window = d.window("Quorvane", timeout=60)
        shown = [text for _, text, _, visible in d.controls("Quorvane") if visible == "1"]
        missing = [c for c in MAIN_CAPTIONS if c not in shown]
        if missing:
            fail(f"the main window lacks {missing}; it shows {shown}")
        if not wait_for(lambda: len(d.tray_icons()) == 2, 20):
            fail("expected two icons in the tray, found %d" % len(d.tray_icons()))
        # The timers run: the first ticks fill in the limits and the memory
        # figures (Wine answers the memory query).
        def texts():
            return [text for _, text, _, _ in d.controls("Quorvane")]
        if not wait_for(lambda: "CPU温度报警提示上限：72℃" in texts()
                        and any(t.startswith("物理内存总数：") for t in texts()), 20):
            fail("the first ticks did not fill in the main window: %s" % texts())
        time.sleep(1)
        d.screenshot("win_main_window", main_window)
        d.screenshot("win_desktop")
        # The manifest's common controls: comctl32 of version 6, which Wine
        # keeps in winsxs.
        modules = d.wine(PROCESS_MODULES, "Quorvane").stdout.decode("utf-8", "replace").lower()
        controls = [m for m in modules.splitlines() if m.endswith("\\comctl32.dll")]
        if not controls or not all("common-controls" in m and "_6.0." in m for m in controls):
            fail(f"the program runs without the common controls of version 6: {controls}")

        # An option applied in the settings window goes to the registry.
        d.click_in(main_window, *SETTINGS_TOOL)
        settings = d.window("设置")
        if d.check_state("设置", "CPU温度报警自动关机") != "0":
            fail("an option is ticked on a fresh store")
        d.click_in(settings, *CPU_SHUTDOWN_BOX)
        if not wait_for(lambda: d.check_state("设置", "CPU温度报警自动关机") == "1", 5):
            fail("a click did not tick the option")
        d.screenshot("win_settings_window", settings)
        d.click_in(settings, *APPLY_OPTIONS)
        if not wait_for(lambda: not d.search("^设置$"), 5):
            fail("applying did not close the settings window")
        stored = d.wine("reg", "query", STORE + r"\b\b", "/v", "status").stdout.decode()
        if "REG_SZ" not in stored or not stored.strip().endswith("1"):
            fail("the applied option is not in the registry: " + stored)

        if not wait_for(lambda: not d.search("^Quorvane$"), 5):
            fail("the main window stayed up while the settings window was open")

        # A second start brings the hidden main window back and ends at once.
        # Wine itself takes a while to start a program: the time of a program
        # that does next to nothing is subtracted.
        stored = d.wine("reg", "query", STORE, "/s").stdout
        _, baseline = d.timed_run(READ_WINDOWS, "no such window")
        status, took = d.timed_run(EXE)
        print(f"the second start ended with {status} after {took:.2f} s "
              f"(Wine's own start: {baseline:.2f} s)")
        if status != 0:
            fail(f"the second start ended with status {status}")
        if took - baseline >= 1.0:
            fail(f"the second start took {took - baseline:.2f} s beyond Wine's own start")
        main_window = d.window("Quorvane", timeout=5)
        if len(d.search("^Quorvane$")) != 1:
            fail("more than one main window is shown")
        if d.app.poll() is not None:
            fail("the running copy ended")
        if len(d.tray_icons()) != 2:
            fail("the tray holds %d icons after the second start" % len(d.tray_icons()))
        if d.wine("reg", "query", STORE, "/s").stdout != stored:
            fail("the second start wrote settings")

        # A click on a tray icon brings the hidden main window back.
        d.close_window(main_window, "Quorvane")
        icon = d.restore_from_tray()
        main_window = d.window("Quorvane", timeout=10)

        # The context gesture opens the menu; "退出" ends the program.
        d.run("xdotool", "mousemove", "--window", str(icon), "8", "8", "click", "3")
        time.sleep(1)
        d.screenshot("win_tray_menu")
        d.run("xdotool", "key", "Down", "Return")
        if not wait_for(lambda: d.app.poll() is not None, 10):
            fail("the tray menu's 退出 did not end the program")
        if d.app.returncode != 0:
            fail("the program ended with status %d" % d.app.returncode)
        if not wait_for(lambda: len(d.tray_icons()) == 0, 5):
            fail("the tray icons stayed after the exit")

        # After a restart the settings window shows the option applied.
        d.start_app()
        main_window = d.window("Quorvane", timeout=60)
        d.click_in(main_window, *SETTINGS_TOOL)
        d.window("设置")
        if not wait_for(lambda: d.check_state("设置", "CPU温度报警自动关机") == "1", 5):
            fail("the applied option was lost across a restart")
        d.stop_app()
    subprocess.run(["wineserver", "-k"], env=env, capture_output=True)
    print("win_e2e: passed")


if __name__ == "__main__":
    sys.exit(main())
