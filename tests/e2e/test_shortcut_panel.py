"""The shortcut panel for real, against a logind mock of the test's own:
"计算器" starts the desktop's calculator (a stand-in here) and hides the main
window; the power-off dialog's "关机" reaches logind's PowerOff once and
nothing else."""

import os
import shutil
import stat
import tempfile
import time

from harness import Desktop, fail, wait_for
from logind import PrivateLogind

# Pixels of the main window's client area (15 twips a pixel).
CALCULATOR = (380, 184)  # Label1 "计算器"
SHUT_DOWN = (728, 101)  # Image9 "关闭计算机"
DIALOG = "VELT-关闭计算机"


def calculator_stand_in(root):
    """A calculator on a PATH and in XDG data dirs of the test's own: the
    desktop entry names it, and it writes its arguments to a marker file."""
    bin_dir = os.path.join(root, "bin")
    apps = os.path.join(root, "share", "applications")
    os.makedirs(bin_dir)
    os.makedirs(apps)
    marker = os.path.join(root, "calculator-started")
    program = os.path.join(bin_dir, "gnome-calculator")
    with open(program, "w") as f:
        f.write("#!/usr/bin/python3\nimport sys\nopen(%r, 'w').write(repr(sys.argv[1:]))\n"
                % marker)
    os.chmod(program, os.stat(program).st_mode | stat.S_IXUSR)
    with open(os.path.join(apps, "org.gnome.Calculator.desktop"), "w") as f:
        f.write("[Desktop Entry]\nType=Application\nName=Calculator\n"
                "Exec=gnome-calculator\nTryExec=gnome-calculator\n")
    env = {
        "PATH": bin_dir + ":" + os.environ.get("PATH", "/usr/bin:/bin"),
        "XDG_DATA_DIRS": os.path.join(root, "share"),
        "XDG_DATA_HOME": os.path.join(root, "nothing"),
    }
    return marker, env


def main():
    root = tempfile.mkdtemp(prefix="quorvane-e2e-tools-")
    try:
        with PrivateLogind("shortcut_panel") as logind, Desktop("shortcut_panel") as d:
            marker, tools = calculator_stand_in(root)
            live = dict(logind.env(), QUORVANE_SYS_ROOT="/nonexistent")

            # "计算器" starts the calculator, with no arguments, and the window goes.
            d.start_app(dict(live, **tools))
            main_window = d.window("Quorvane")
            d.screenshot("shortcut_panel", main_window)
            d.click_in(main_window, *CALCULATOR)
            if not wait_for(lambda: os.path.exists(marker) and open(marker).read(), 10):
                fail("clicking 计算器 did not start the calculator")
            if open(marker).read() != "[]":
                fail("the calculator got arguments: " + open(marker).read())
            if not wait_for(lambda: not d.search("^Quorvane$"), 5):
                fail("the main window stayed up after 计算器")
            if d.app.poll() is not None:
                fail("the program ended after 计算器")
            d.stop_app()

            # The power-off dialog: "关机", then "确定".
            d.start_app(live)
            main_window = d.window("Quorvane")
            d.click_in(main_window, *SHUT_DOWN)
            dialog = d.window(DIALOG)
            if not wait_for(lambda: not d.search("^Quorvane$"), 5):
                fail("the main window stayed up when the dialog opened")
            d.screenshot("power_off_dialog", dialog)
            if not d.checked(DIALOG, "无动作"):
                fail("the dialog did not open with 无动作 chosen")
            d.act(DIALOG, "关机")
            if not wait_for(lambda: d.checked(DIALOG, "关机"), 5):
                fail("关机 could not be chosen")
            if logind.actions():
                fail("logind was asked before 确定: %r" % logind.actions())
            d.act(DIALOG, "确定")
            if not logind.wait_for_action(10):
                fail("确定 did not reach logind")
            time.sleep(2)  # anything else would have come by now
            if logind.actions() != [("PowerOff", [False])]:
                fail("expected one PowerOff(interactive false), got %r" % logind.actions())
            if not wait_for(lambda: not d.search("^" + DIALOG + "$"), 5):
                fail("the dialog stayed up after 确定")
            if d.search("^Quorvane$"):
                fail("the main window came back after 确定")
            if d.app.poll() is not None:
                fail("the program ended by itself after 关机")
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
