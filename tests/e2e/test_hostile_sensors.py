"""Sensors that fail while the program runs. A disk is hot-unplugged (its
hwmon directory, then the whole device, vanish), its temperature file turns
to garbage, to a directory, to a dangling link; /proc/meminfo goes bad; the
CPU package sensor returns garbage and its driver is unloaded. The program
keeps running, each readout keeps the last value it showed, and the next
good reading is shown again."""

import os
import shutil
import time

import sensors
from harness import Desktop, fail, wait_for

SPEED = 10                  # the program's clock runs ten times as fast
CPU_PERIOD = 8 / SPEED      # CPU temperature, CPU load and memory
DISK_PERIOD = 21 / SPEED    # disk temperature
# A bad reading is held for more than one period so that at least one
# reading of it is taken.
HOLD = DISK_PERIOD * 1.4

CPU_HWMON = "sys/devices/platform/coretemp.0/hwmon/hwmon3"
DISK_DEVICE = "sys/devices/pci0000:00/0000:00:1d.0/nvme/nvme0"
DISK_HWMON = DISK_DEVICE + "/hwmon1"


def meminfo(total_kb, available_kb):
    return (f"MemTotal: {total_kb} kB\nMemFree: 1000 kB\nMemAvailable: {available_kb} kB\n"
            "SwapTotal: 0 kB\nSwapFree: 0 kB\nCommitLimit: 4096 kB\nCommitted_AS: 1024 kB\n")


def replace(path, kind, text=""):
    """Puts a file with the text, a directory or a dangling link at path."""
    if os.path.islink(path) or os.path.isfile(path):
        os.remove(path)
    elif os.path.isdir(path):
        shutil.rmtree(path)
    if kind == "file":
        sensors.write(path, text)
    elif kind == "directory":
        os.makedirs(os.path.join(path, "inner"))
    elif kind == "dangling link":
        os.symlink("gone", path)


def plug_disk(root, millidegrees):
    hwmon = os.path.join(root, DISK_HWMON)
    sensors.write(os.path.join(hwmon, "name"), "nvme")
    sensors.write(os.path.join(hwmon, "temp1_label"), "Composite")
    sensors.write(os.path.join(hwmon, "temp1_input"), str(millidegrees))
    os.makedirs(os.path.join(root, DISK_DEVICE, "nvme0n1"), exist_ok=True)
    link = os.path.join(root, DISK_DEVICE, "nvme0n1/device")
    if not os.path.islink(link):
        os.symlink("../../nvme0", link)


def readouts(d):
    """The CPU temperature, memory and disk readouts of the main window, read
    the way a screen reader reads them: each is the text two places before its
    level bar."""
    nodes = [name for _, name in d.accessible().get("Quorvane", []) if name]
    out = {}
    for i, name in enumerate(nodes):
        for key, bar in (("cpu", "CPU温度 "), ("memory", "内存使用率 "), ("disk", "硬盘温度 ")):
            if name.startswith(bar) and i >= 2:
                out[key] = nodes[i - 2]
    return out


class Watch:
    def __init__(self, d):
        self.d = d

    def alive(self, what):
        if self.d.app.poll() is not None:
            fail(f"{what}: the program ended (status {self.d.app.returncode})")

    def shows(self, what, want, timeout):
        """Waits until every readout in `want` shows its value."""
        seen = wait_for(lambda: (lambda r: r if all(r.get(k) == v for k, v in want.items())
                                 else None)(readouts(self.d)), timeout, step=0.3)
        if not seen:
            fail(f"{what}: expected {want}, the readouts show {readouts(self.d)}")
        self.alive(what)
        print(f"{what}: {want}")

    def holds(self, what, want, seconds):
        """Every look during `seconds` finds the readouts in `want` unchanged."""
        end = time.monotonic() + seconds
        looks = 0
        while time.monotonic() < end:
            now = readouts(self.d)
            looks += 1
            changed = {k: now.get(k) for k, v in want.items() if now.get(k) != v}
            if changed:
                fail(f"{what}: the readouts should have stayed at {want}, "
                     f"but {changed} after {looks} looks")
            self.alive(what)
            time.sleep(0.3)
        print(f"{what}: kept {want} ({looks} looks)")


def main():
    root = sensors.machine(45500, 38000)
    proc = os.path.join(root, "proc-root")
    sensors.write(os.path.join(proc, "proc/stat"),
                  "cpu  10 0 10 1000 5 0 0 0 0 0\ncpu0 10 0 10 1000 5 0 0 0 0 0\nintr 1")
    info = os.path.join(proc, "proc/meminfo")
    sensors.write(info, meminfo(1048576, 524288))  # 50 %
    app = None
    try:
        with Desktop("hostile_sensors") as d:
            app = d.start_app({"QUORVANE_SYS_ROOT": root, "QUORVANE_PROC_ROOT": proc},
                              speed=SPEED)
            d.window("Quorvane")
            d.names("Quorvane")  # the accessibility registry takes a moment to list it
            w = Watch(d)
            w.shows("first readings", {"cpu": "45.5", "memory": "50", "disk": "38"},
                    DISK_PERIOD * 2 + 5)

            # Hot-unplug: the sensor goes, the disk's block entry stays.
            shutil.rmtree(os.path.join(root, DISK_HWMON))
            replace(info, "file", "MemTotal: 12")  # no unit
            w.holds("disk sensor unplugged, meminfo garbled", {"disk": "38", "memory": "50"},
                    HOLD)
            plug_disk(root, 41000)
            replace(info, "file", meminfo(1000000, 250000))  # 75 %
            w.shows("disk plugged back", {"disk": "41", "memory": "75"}, DISK_PERIOD * 2 + 3)

            # The whole device goes: /sys/block/nvme0n1 dangles.
            shutil.rmtree(os.path.join(root, DISK_DEVICE))
            replace(info, "directory")
            w.holds("disk device gone, meminfo a directory", {"disk": "41", "memory": "75"}, HOLD)
            plug_disk(root, 42000)
            replace(info, "file", meminfo(1000000, 500000))  # 50 %
            w.shows("disk device back", {"disk": "42", "memory": "50"}, DISK_PERIOD * 2 + 3)

            disk_input = os.path.join(root, DISK_HWMON, "temp1_input")
            for kind, text in (("file", "garbage"), ("file", "\x00\xff"), ("directory", ""),
                               ("dangling link", ""), ("file", "-5000"), ("file", "0")):
                replace(disk_input, kind, text)
                replace(info, kind, text)
                w.holds(f"disk reading a {kind} {text!r}", {"disk": "42", "memory": "50"}, HOLD)
            replace(disk_input, "file", "43000")
            replace(info, "file", meminfo(1000000, 250000))
            w.shows("good readings again", {"disk": "43", "memory": "75"}, DISK_PERIOD * 2 + 3)

            cpu_input = os.path.join(root, CPU_HWMON, "temp1_input")
            for kind, text in (("file", "garbage"), ("directory", ""), ("dangling link", "")):
                replace(cpu_input, kind, text)
                w.holds(f"CPU reading a {kind} {text!r}", {"cpu": "45.5"}, CPU_PERIOD * 2.5)
            replace(cpu_input, "file", "47500")
            w.shows("CPU reading good again", {"cpu": "47.5"}, CPU_PERIOD * 2 + 3)
            # The driver is unloaded: its hwmon directory goes.
            shutil.rmtree(os.path.join(root, CPU_HWMON))
            w.holds("CPU driver unloaded", {"cpu": "47.5"}, CPU_PERIOD * 2.5)
            sensors.write(os.path.join(root, CPU_HWMON, "name"), "coretemp")
            sensors.write(os.path.join(root, CPU_HWMON, "temp1_label"), "Package id 0")
            sensors.set_cpu(root, 48000)
            w.shows("CPU driver loaded again", {"cpu": "48"}, CPU_PERIOD * 2 + 3)
    finally:
        shutil.rmtree(root, ignore_errors=True)
        # libfaketime's shared clock outlives a program that was terminated.
        if app:
            for name in (f"faketime_shm_{app.pid}", f"sem.faketime_sem_{app.pid}"):
                try:
                    os.remove(os.path.join("/dev/shm", name))
                except OSError:
                    pass


if __name__ == "__main__":
    main()
