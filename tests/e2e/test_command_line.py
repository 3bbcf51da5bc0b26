"""The command line: --help, --version, --sensors and a wrong option, each
answered on its own stream with its exit status and without a display.
--sensors lists the sensors of this machine, and of a fixture tree given by
QUORVANE_SYS_ROOT: the sensors read for the CPU and the disk are marked."""

import os
import re
import subprocess

from harness import BIN, fail

MACHINES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "machines")


def run(*args, root=None):
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QUORVANE_SYS_ROOT")}
    env["QT_QPA_PLATFORM"] = "xcb"  # would fail without a display, were one needed
    if root:
        env["QUORVANE_SYS_ROOT"] = os.path.join(MACHINES, root)
    return subprocess.run([BIN, *args], env=env, capture_output=True, text=True, timeout=60)


def expect(what, condition, got):
    if not condition:
        fail(f"{what}:\n--- stdout\n{got.stdout}--- stderr\n{got.stderr}--- status {got.returncode}")


def rows(report):
    """The sensor table: (use, kind, driver, label, reading) per line."""
    out = []
    for line in report.splitlines():
        parts = re.split(r"\s{2,}", line.strip())
        if len(parts) == 6 and parts[1] in ("hwmon", "zone", "disk"):
            out.append(tuple(parts[:5]))
    return out


def main():
    got = run("--help")
    expect("--help", got.returncode == 0 and got.stdout.startswith("Usage: quorvane [OPTION]")
           and "--sensors" in got.stdout and got.stderr == "", got)

    got = run("--version")
    expect("--version", got.returncode == 0 and re.fullmatch(r"quorvane \d+\.\d+\.\d+\n", got.stdout)
           and got.stderr == "", got)

    for args, problem in ((["--frobnicate"], "unrecognized option '--frobnicate'"),
                          (["now"], "unexpected argument 'now'"),
                          (["--sensors", "--help"], "too many arguments")):
        got = run(*args)
        expect(" ".join(args), got.returncode == 2 and got.stdout == "" and
               got.stderr == f"quorvane: {problem}\nTry 'quorvane --help' for more information.\n",
               got)

    # This machine: whatever it has, the list comes and the program ends.
    got = run("--sensors")
    expect("--sensors here", got.returncode == 0 and
           got.stdout.startswith("Temperature sensors below /\n") and
           "CPU temperature: " in got.stdout and "Disk temperature: " in got.stdout, got)

    # big.LITTLE: three CPU clusters read, the hottest shown; the SoC, GPU and
    # NPU zones, read too by others, are not the CPU.
    got = run("--sensors", root="rk3588-big-little")
    table = rows(got.stdout)
    expect("--sensors rk3588", got.returncode == 0 and
           "CPU temperature: 36.1 °C from littlecore-thermal, the hottest of 3\n" in got.stdout and
           "Disk temperature: 41 °C from nvme0n1 (nvme)\n" in got.stdout and
           ("CPU", "zone", "littlecore-thermal", "-", "36.1 °C") in table and
           ("cpu", "zone", "bigcore0-thermal", "-", "36.1 °C") in table and
           ("-", "zone", "soc-thermal", "-", "36.1 °C") in table and
           ("-", "zone", "gpu-thermal", "-", "35.2 °C") in table and
           ("-", "hwmon", "littlecore_thermal", "temp1", "36.1 °C") in table and
           ("DISK", "disk", "nvme", "nvme0n1", "41 °C") in table, got)

    # Multipath and several namespaces: each drive once, the hottest shown.
    got = run("--sensors", root="nvme-multipath-namespaces")
    table = rows(got.stdout)
    disks = [r for r in table if r[1] == "disk"]
    expect("--sensors multipath", got.returncode == 0 and
           "CPU temperature: no sensor found; the program shows 0 and \"无\"\n" in got.stdout and
           "Disk temperature: 42 °C from nvme6n1 (nvme), the hottest of 2 disks\n" in got.stdout and
           disks == [("disk", "disk", "nvme", "nvme0n1", "34 °C"),
                     ("DISK", "disk", "nvme", "nvme6n1", "42 °C")], got)
    print("command line: --help, --version, wrong options, --sensors here and on two machines")


if __name__ == "__main__":
    main()
