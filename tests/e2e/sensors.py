"""A sysfs tree for the program's sensors: a CPU package sensor and one NVMe
disk, at the temperatures a test asks for."""

import os
import tempfile


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write(text + "\n")


def machine(cpu_millidegrees, disk_millidegrees):
    root = tempfile.mkdtemp(prefix="quorvane-sys-")
    os.makedirs(os.path.join(root, "sys/class/thermal"))
    cpu = os.path.join(root, "sys/devices/platform/coretemp.0/hwmon/hwmon3")
    write(os.path.join(cpu, "name"), "coretemp")
    write(os.path.join(cpu, "temp1_label"), "Package id 0")
    write(os.path.join(cpu, "temp1_input"), str(cpu_millidegrees))
    os.makedirs(os.path.join(root, "sys/class/hwmon"))
    os.symlink("../../devices/platform/coretemp.0/hwmon/hwmon3",
               os.path.join(root, "sys/class/hwmon/hwmon3"))
    disk = os.path.join(root, "sys/devices/pci0000:00/0000:00:1d.0/nvme/nvme0")
    write(os.path.join(disk, "hwmon1/name"), "nvme")
    write(os.path.join(disk, "hwmon1/temp1_label"), "Composite")
    write(os.path.join(disk, "hwmon1/temp1_input"), str(disk_millidegrees))
    os.makedirs(os.path.join(disk, "nvme0n1"))
    os.makedirs(os.path.join(root, "sys/block"))
    os.symlink("../devices/pci0000:00/0000:00:1d.0/nvme/nvme0/nvme0n1",
               os.path.join(root, "sys/block/nvme0n1"))
    os.symlink("../../nvme0", os.path.join(disk, "nvme0n1/device"))
    return root


def set_cpu(root, millidegrees):
    write(os.path.join(root, "sys/devices/platform/coretemp.0/hwmon/hwmon3/temp1_input"),
          str(millidegrees))
