"""The Debian package as a person gets it: `cpack -G DEB` from this build,
then the .deb taken apart.

- Its files: the program, the desktop entry, the AppStream data and the icon
  in every size, owned by root with the usual modes, and nothing else.
- Its Depends: every library the program links to is there by its package
  (dpkg-shlibdeps), with a CJK font and Qt's platform plugins; apt finds all
  of it on this system (a simulated install, nothing changes).
- desktop-file-validate and appstreamcli validate pass; the entry, the icon
  and the AppStream data name each other and the package's version.
- The unpacked program (dpkg -x into a temporary folder, not installed)
  starts under Xvfb with QUORVANE_DRY_RUN=1: its main window, both tray icons,
  and the autostart entry it writes when "开机自动启动" is applied, which
  starts the program at the path it was started from and validates too.
  The screenshots it takes are the ones in README.md's guide; with
  QUORVANE_GUIDE_DIR set they are written there too.

    test_deb.py BUILD_DIR
"""

import glob
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time

import harness
import sensors
from harness import Desktop, fail, wait_for

APP_ID = "org.quorvane.Quorvane"
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
SHARE = "./usr/share/"
EXPECTED = {
    "./usr/bin/quorvane": "-rwxr-xr-x",
    SHARE + "applications/%s.desktop" % APP_ID: "-rw-r--r--",
    SHARE + "metainfo/%s.metainfo.xml" % APP_ID: "-rw-r--r--",
    SHARE + "icons/hicolor/scalable/apps/%s.svg" % APP_ID: "-rw-r--r--",
}
EXPECTED.update({SHARE + "icons/hicolor/%dx%d/apps/%s.png" % (s, s, APP_ID): "-rw-r--r--"
                 for s in ICON_SIZES})

SPEED = 4  # the program's clock runs this much faster (libfaketime)

# Pixels of the main window's and the settings window's client areas.
SETTINGS_TOOL = (728, 168)  # Image10 "主设置" of the main window
APPLY_OPTIONS = (600, 243)  # Command5 "应用" of the options


def run(*args, **kw):
    return subprocess.run(list(args), capture_output=True, text=True, **kw)


def build_package(build):
    out = os.path.join(build, "packages")
    for old in glob.glob(os.path.join(out, "quorvane_*.deb")):
        os.remove(old)
    made = run("cpack", "-G", "DEB", "--config", os.path.join(build, "CPackConfig.cmake"),
               cwd=build)
    if made.returncode != 0:
        fail("cpack failed:\n" + made.stdout[-3000:] + made.stderr[-3000:])
    debs = glob.glob(os.path.join(out, "quorvane_*.deb"))
    if len(debs) != 1:
        fail(f"expected one .deb in {out}, found {debs}")
    print("package:", debs[0])
    return debs[0]


def check_contents(deb):
    listing = run("dpkg-deb", "-c", deb).stdout
    files = {}
    for line in listing.splitlines():
        fields = line.split()
        mode, owner, path = fields[0], fields[1], fields[5]
        if owner != "root/root":
            fail(f"{path} belongs to {owner}")
        if not mode.startswith("d"):
            files[path] = mode
    if files != EXPECTED:
        missing = sorted(set(EXPECTED) - set(files))
        extra = sorted(set(files) - set(EXPECTED))
        wrong = sorted(p for p in set(files) & set(EXPECTED) if files[p] != EXPECTED[p])
        fail(f"the package's files differ: missing {missing}, extra {extra}, modes {wrong}")


def control(deb, field):
    return run("dpkg-deb", "-f", deb, field).stdout.strip()


def clauses(depends):
    """Depends as a list of sets of package names (a set per alternative)."""
    out = []
    for clause in depends.split(","):
        names = {re.sub(r"\s*\(.*\)", "", alt).strip().split(":")[0] for alt in clause.split("|")}
        out.append(names)
    return out


def library_packages(binary):
    """The package of each library the binary links to."""
    needed = re.findall(r"NEEDED\s+(\S+)", run("objdump", "-p", binary).stdout)
    if not needed:
        fail("the packaged program links to no library?")
    cache = run("ldconfig", "-p").stdout
    packages = {}
    for lib in needed:
        found = re.search(r"^\s*%s \(libc6,x86-64[^)]*\) => (\S+)$" % re.escape(lib), cache, re.M)
        if not found:
            fail(f"{lib} is not on this system")
        path = found.group(1)
        candidates = {path, os.path.realpath(path)}
        candidates |= {p[4:] if p.startswith("/usr/") else "/usr" + p for p in set(candidates)}
        for candidate in candidates:
            owner = run("dpkg", "-S", candidate)
            if owner.returncode == 0:
                packages[lib] = owner.stdout.split(":")[0].strip()
                break
        else:
            fail(f"no package has {path}")
    return packages


def check_depends(deb, root):
    depends = control(deb, "Depends")
    print("Depends:", depends)
    print("Recommends:", control(deb, "Recommends"))
    have = clauses(depends)
    if {"fonts-wqy-microhei", "fonts-noto-cjk"} not in have:
        fail("Depends lacks the CJK font alternative fonts-wqy-microhei | fonts-noto-cjk")
    if {"qt6-qpa-plugins"} not in have:
        fail("Depends lacks qt6-qpa-plugins")
    for lib, package in library_packages(os.path.join(root, "usr/bin/quorvane")).items():
        if not any(package in c for c in have):
            fail(f"Depends lacks {package}, whose {lib} the program links to")
    # Every dependency is to be had here: apt resolves the package without
    # changing anything.
    sim = run("apt-get", "-o", "DPkg::Lock::Timeout=120", "install", "--simulate", "-q",
              "--no-install-recommends", os.path.abspath(deb))
    if sim.returncode != 0:
        fail("apt cannot install the package:\n" + sim.stdout[-2000:] + sim.stderr[-2000:])


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        fail(path + " is not a PNG")
    return struct.unpack(">II", head[16:24])


def check_files(deb, root):
    entry = os.path.join(root, "usr/share/applications", APP_ID + ".desktop")
    metainfo = os.path.join(root, "usr/share/metainfo", APP_ID + ".metainfo.xml")
    for args in (["desktop-file-validate", entry],
                 ["appstreamcli", "validate", "--no-net", metainfo]):
        result = run(*args)
        if result.returncode != 0:
            fail(f"{args[0]} rejects {os.path.basename(args[-1])}:\n{result.stdout}{result.stderr}")
    text = open(entry, encoding="utf-8").read()
    for line in ("Exec=quorvane", "Icon=" + APP_ID, "Categories=System;Monitor;", "Name=Quorvane"):
        if line not in text.splitlines():
            fail(f"the desktop entry lacks {line!r}")
    if not re.search(r"^Name\[zh_CN\]=.*[\u4e00-\u9fff]", text, re.M):
        fail("the desktop entry has no Chinese name")
    meta = open(metainfo, encoding="utf-8").read()
    if "<launchable type=\"desktop-id\">%s.desktop</launchable>" % APP_ID not in meta:
        fail("the AppStream data does not launch the desktop entry")
    version = control(deb, "Version")
    newest = re.search(r'<release version="([^"]+)"', meta)
    if not newest or newest.group(1) != version:
        fail(f"the AppStream data's newest release is not the package's version {version}")
    for s in ICON_SIZES:
        path = os.path.join(root, "usr/share/icons/hicolor/%dx%d/apps/%s.png" % (s, s, APP_ID))
        if png_size(path) != (s, s):
            fail(f"{path} is {png_size(path)}, not {s}x{s}")
    description = run("file", "-b", os.path.join(root, "usr/bin/quorvane")).stdout
    if "not stripped" in description or "debug_info" in description:
        fail("the packaged program carries its debugging data: " + description)


def small_png(source, target):
    """A guide picture: fewer colours, no metadata, so that the repository
    stays small."""
    result = run("convert", source, "-strip", "-colors", "128", "PNG8:" + target)
    if result.returncode != 0:
        fail("convert failed: " + result.stderr)


class CalmMachine(threading.Thread):
    """A /proc whose one CPU is busy a tenth of the time and whose memory is
    a third used, for pictures that do not depend on the machine's load. The
    idle time grows at 90 of the 100 ticks a second of the program's clock,
    which runs `speed` times faster."""

    def __init__(self, root, speed):
        super().__init__(daemon=True)
        self.proc = os.path.join(root, "proc-root")
        self.speed = speed
        self.start_time = time.monotonic()
        self.done = threading.Event()
        sensors.write(os.path.join(self.proc, "proc/meminfo"),
                      "MemTotal: 8000000 kB\nMemFree: 4000000 kB\nMemAvailable: 5333333 kB")
        self.advance()

    def advance(self):
        ticks = int((time.monotonic() - self.start_time) * 100 * self.speed)
        line = f"{ticks // 10} 0 0 {ticks - ticks // 10} 0 0 0 0 0 0"
        # Replaced whole: the program never reads half a file.
        path = os.path.join(self.proc, "proc/stat")
        sensors.write(path + ".new", f"cpu  {line}\ncpu0 {line}\nintr 1")
        os.replace(path + ".new", path)

    def run(self):
        while not self.done.wait(0.1):
            self.advance()


def check_runs(root):
    program = os.path.join(root, "usr/bin/quorvane")
    harness.BIN = program
    shots = {}
    sys_root = sensors.machine(47000, 39000)
    machine = CalmMachine(sys_root, SPEED)
    machine.start()
    with Desktop("package") as d:
        d.start_app({"QUORVANE_SYS_ROOT": sys_root, "QUORVANE_PROC_ROOT": machine.proc},
                    speed=SPEED)
        main = d.window("Quorvane", timeout=20)
        if not wait_for(lambda: d.tray_icon(0) and d.tray_icon(1), 15):
            fail("the unpacked program's two tray icons did not dock")
        # The disk reading comes 21 program seconds after the start; the
        # small window repeats it.
        if not wait_for(lambda: "硬盘温度：39℃" in d.all_names(), 21 / SPEED + 10, step=0.5):
            fail("no disk reading in the small window: %s" % d.all_names())
        small = d.search("^[0-9]+月[0-9]+日")
        if not small:
            fail("the small monitor window is not up")
        shots["guide-main"] = d.screenshot("guide_main", main)
        shots["guide-small-window"] = d.screenshot("guide_small_window", small[0])
        x, y, w, h = d.geometry(d.tray_panel())
        tray = d.screenshot("guide_tray_full")
        shots["guide-tray"] = os.path.join(os.path.dirname(tray), "guide_tray.png")
        run("convert", tray, "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-scale", "200%",
            shots["guide-tray"])

        d.click_in(main, *SETTINGS_TOOL)
        settings = d.window("设置")
        shots["guide-settings"] = d.screenshot("guide_settings", settings)
        d.act("设置", "开机自动启动")
        d.click_in(settings, *APPLY_OPTIONS)
        entry = os.path.join(d.home, ".config/autostart/quorvane.desktop")
        if not wait_for(lambda: os.path.exists(entry), 5):
            fail("applying 开机自动启动 wrote no autostart entry")
        text = open(entry, encoding="utf-8").read()
        if "Exec=%s\n" % program not in text or "TryExec=%s\n" % program not in text:
            fail(f"the autostart entry does not start {program}:\n{text}")
        result = run("desktop-file-validate", entry)
        if result.returncode != 0:
            fail("desktop-file-validate rejects the autostart entry:\n" + result.stdout)
        if d.app.poll() is not None:
            fail(f"the program ended with {d.app.returncode}")
    machine.done.set()
    machine.join()
    shutil.rmtree(sys_root, ignore_errors=True)

    guide = os.environ.get("QUORVANE_GUIDE_DIR")
    for name, path in shots.items():
        small_png(path, os.path.join(os.path.dirname(path), name + ".png"))
        if guide:
            os.makedirs(guide, exist_ok=True)
            small_png(path, os.path.join(guide, name + ".png"))


def main():
    if len(sys.argv) != 2:
        fail("usage: test_deb.py BUILD_DIR")
    build = sys.argv[1]
    for tool in ("cpack", "dpkg-deb", "desktop-file-validate", "appstreamcli"):
        if not shutil.which(tool):
            fail("needs " + tool)
    deb = build_package(build)
    check_contents(deb)
    root = tempfile.mkdtemp(prefix="quorvane-deb-")
    try:
        if run("dpkg-deb", "-x", deb, root).returncode != 0:
            fail("dpkg-deb -x failed")
        check_depends(deb, root)
        check_files(deb, root)
        check_runs(root)
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
