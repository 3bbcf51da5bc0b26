"""The Windows installer under Wine, as one user runs it: built with makensis
around a Windows build's quorvane.exe, installed silently into a fresh Wine
prefix, the program and its Start-menu entry checked and the program started
(with QUORVANE_DRY_RUN=1) until its main window shows. Then, with the
program running before each step, it is installed again, uninstalled and
installed once more: each step ends the running copy first, nothing is left
to be deleted at the next restart, and after a restart of the prefix the
program is there and starts. The uninstall takes everything away, the log-on
entry the program makes when autostart is ticked included, and leaves other
programs' log-on entries alone.

    test_windows_installer.py QUORVANE_EXE QUORVANE_NSI [ICON]

Skipped (77) while there is no such quorvane.exe, or no makensis or Wine.
Everything happens in a temporary HOME and Wine prefix.
"""

import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import time

from harness import Desktop, fail, wait_for

RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
SESSION_MANAGER = r"HKLM\System\CurrentControlSet\Control\Session Manager"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvane"
VERSION = os.environ.get("QUORVANE_VERSION", "0.0.0")
OUT = os.environ.get("QUORVANE_PACKAGE_OUT", "build/tests/package/out")


def skip(why):
    print("SKIP: " + why)
    sys.exit(77)


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


class Wine:
    def __init__(self, desktop, home):
        self.desktop = desktop
        self.prefix = os.path.join(home, "wine")
        self.env = desktop.env({
            "WINEPREFIX": self.prefix,
            "WINEDEBUG": "-all",
            # No Mono or Gecko prompts, and no menu entries of the Start
            # menu's shortcuts written into the (temporary) Linux HOME.
            "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
        })

    def run(self, *args, timeout=120):
        return subprocess.run(["wine"] + list(args), env=self.env, capture_output=True,
                              text=True, timeout=timeout)

    def start(self, *args):
        log = open(os.path.join(OUT, "windows_installer.program.log"), "a")
        return subprocess.Popen(["wine"] + list(args), env=self.env, stdout=log,
                                stderr=subprocess.STDOUT)

    def settle(self):
        """Waits for every process of the prefix, as an uninstaller hands its
        work to a copy of itself and returns at once."""
        subprocess.run(["wineserver", "-w"], env=self.env, timeout=120)

    def stop_all(self):
        subprocess.run(["wineserver", "-k"], env=self.env, timeout=60)
        self.settle()

    def reg_value(self, key, name):
        """The value's data, or None when it is not there."""
        result = self.run("reg", "query", key, "/v", name)
        if result.returncode != 0:
            return None
        for line in result.stdout.splitlines():
            parts = line.strip().split(None, 2)
            if len(parts) >= 2 and parts[0].lower() == name.lower():
                return parts[2] if len(parts) == 3 else ""
        return None

    def key_exists(self, key):
        return self.run("reg", "query", key).returncode == 0

    def user_dir(self):
        users = os.path.join(self.prefix, "drive_c", "users")
        found = [os.path.join(users, u) for u in os.listdir(users)
                 if os.path.isdir(os.path.join(users, u, "AppData"))]
        if len(found) != 1:
            fail(f"expected one user profile in the prefix, found {found}")
        return found[0]


def stripped(exe, work):
    """A copy without debugging data, as the installer carries it."""
    copy = os.path.join(work, "quorvane.exe")
    shutil.copyfile(exe, copy)
    if shutil.which("x86_64-w64-mingw32-strip"):
        subprocess.run(["x86_64-w64-mingw32-strip", copy], check=True)
    return copy


def main():
    if len(sys.argv) < 3:
        fail("usage: test_windows_installer.py QUORVANE_EXE QUORVANE_NSI [ICON]")
    exe, script = sys.argv[1], sys.argv[2]
    # makensis reads relative paths from the script's folder.
    icon = os.path.abspath(sys.argv[3]) if len(sys.argv) > 3 and os.path.exists(sys.argv[3]) \
        else None
    if not os.path.isfile(exe):
        skip(f"no Windows build of quorvane.exe at {exe}")
    for tool in ("makensis", "wine", "wineserver", "Xvfb"):
        if not shutil.which(tool):
            skip("needs " + tool)
    os.makedirs(OUT, exist_ok=True)
    work = tempfile.mkdtemp(prefix="quorvane-nsis-")
    try:
        exe = stripped(exe, work)
        installer = os.path.join(work, f"quorvane-{VERSION}-setup.exe")
        args = ["makensis", "-V2", "-WX", "-INPUTCHARSET", "UTF8", "-DEXE=" + exe,
                "-DVERSION=" + VERSION, "-DOUTFILE=" + installer]
        if icon:
            args.append("-DICON=" + icon)
        made = subprocess.run(args + [script], capture_output=True, text=True)
        if made.returncode != 0 or not os.path.isfile(installer):
            fail("makensis failed:\n" + made.stdout + made.stderr)

        with Desktop("windows_installer", tray=False) as d:
            wine = Wine(d, d.home)
            install(wine, installer)
            check_installed(wine, exe)
            # Again over a running copy, which is asked to end first.
            install(wine, installer, running=start_program(d, wine))
            check_installed(wine, exe)
            check_uninstall(wine, running=start_program(d, wine))
            install(wine, installer)
            check_installed(wine, exe)
            app = start_program(d, wine)
            time.sleep(3)  # its first drawing done
            d.screenshot("windows_installed_program")
            # A restart of the prefix carries out what was left for it.
            wine.stop_all()
            app.wait(30)
            wine.run("wineboot", "-r")
            wine.settle()
            check_installed(wine, exe)
            start_program(d, wine)
            wine.stop_all()
    finally:
        shutil.rmtree(work, ignore_errors=True)


def installed_paths(wine):
    profile = wine.user_dir()
    folder = os.path.join(profile, "AppData", "Local", "Programs", "Quorvane")
    shortcut = os.path.join(profile, "AppData", "Roaming", "Microsoft", "Windows",
                            "Start Menu", "Programs", "Quorvane.lnk")
    return folder, shortcut


def check_installed(wine, exe):
    folder, shortcut = installed_paths(wine)
    program = os.path.join(folder, "quorvane.exe")
    if not os.path.isfile(program) or digest(program) != digest(exe):
        fail(f"quorvane.exe is not installed as built in {folder}: {os.listdir(folder) if os.path.isdir(folder) else 'no folder'}")
    if not os.path.isfile(os.path.join(folder, "uninstall.exe")):
        fail("no uninstaller beside the program")
    if not os.path.isfile(shortcut):
        fail("no Start-menu entry " + shortcut)
    with open(shortcut, "rb") as f:
        link = f.read()
    target = "Programs\\Quorvane\\quorvane.exe"
    if target.encode() not in link and target.encode("utf-16-le") not in link:
        fail("the Start-menu entry does not lead to the installed program")
    # Its icon: the program's own, in the Start menu and the list of
    # installed programs.
    if not int.from_bytes(link[0x14:0x18], "little") & 0x40:  # HasIconLocation
        fail("the Start-menu entry names no icon")
    icon = wine.reg_value(UNINSTALL_KEY, "DisplayIcon") or ""
    if not icon.endswith("Programs\\Quorvane\\quorvane.exe,0"):
        fail(f"the list of installed programs shows no icon of the program: {icon!r}")
    uninstall = wine.reg_value(UNINSTALL_KEY, "UninstallString")
    if not uninstall or "uninstall.exe" not in uninstall:
        fail(f"the list of installed programs has no uninstaller for Quorvane: {uninstall!r}")
    print("installed:", sorted(os.listdir(folder)), "and", os.path.basename(shortcut))


def install(wine, installer, running=None):
    result = wine.run(installer, "/S", timeout=240)
    if result.returncode != 0:
        fail(f"the silent install ended with {result.returncode}: {result.stderr[-2000:]}")
    if running:
        ended_by_request(running, "the installer")
    wine.settle()
    check_nothing_pending(wine)


def start_program(d, wine):
    """The installed program, started as from its Start-menu entry, once its
    main window is shown."""
    folder, _ = installed_paths(wine)
    app = wine.start(os.path.join(folder, "quorvane.exe"))
    # Its main window, captioned "Quorvane", is a window on the X display.
    if not wait_for(lambda: d.search("^Quorvane$"), 60, step=0.5):
        fail("the installed program showed no main window within 60 s")
    if app.poll() is not None:
        fail(f"the installed program ended with {app.returncode}")
    return app


def ended_by_request(app, who):
    try:
        app.wait(30)
    except subprocess.TimeoutExpired:
        fail(f"{who} left the running program running")
    if app.returncode != 0:
        fail(f"the program asked to end by {who} ended with {app.returncode}")


def check_nothing_pending(wine):
    """No file of the program is left to be deleted or renamed at the next
    restart: a later install would lose its file then."""
    pending = wine.reg_value(SESSION_MANAGER, "PendingFileRenameOperations") or ""
    if "quorvane" in pending.lower():
        fail("left for the next restart: " + pending)


def check_uninstall(wine, running):
    folder, shortcut = installed_paths(wine)
    # What the program writes when "开机自动启动" is ticked, and another
    # program's entry beside it.
    own = '"%s"' % "C:\\users\\%s\\AppData\\Local\\Programs\\Quorvane\\quorvane.exe" % \
        os.path.basename(wine.user_dir())
    for name, data in (("quorvane", own), ("SomethingElse", "C:\\other.exe")):
        if wine.run("reg", "add", RUN_KEY, "/v", name, "/d", data, "/f").returncode != 0:
            fail("could not write the Run value " + name)
    if wine.reg_value(RUN_KEY, "quorvane") is None:
        fail("the Run value reads back as missing")

    result = wine.run(os.path.join(folder, "uninstall.exe"), "/S")
    if result.returncode != 0:
        fail(f"the silent uninstall ended with {result.returncode}")
    ended_by_request(running, "the uninstaller")
    wine.settle()
    check_nothing_pending(wine)
    left = []
    if os.path.exists(folder):
        left.append(f"{folder}: {os.listdir(folder)}")
    if os.path.exists(shortcut):
        left.append(shortcut)
    if wine.reg_value(RUN_KEY, "quorvane") is not None:
        left.append("the Run value quorvane")
    if wine.key_exists(UNINSTALL_KEY):
        left.append(UNINSTALL_KEY)
    if left:
        fail("the uninstall left " + "; ".join(left))
    if wine.reg_value(RUN_KEY, "SomethingElse") is None:
        fail("the uninstall removed another program's Run value")
    print("uninstalled: no folder, no Start-menu entry, no Run value, no uninstall entry")


if __name__ == "__main__":
    main()
