#!/usr/bin/env python3
"""Checks the desktop entries of the tool table against Debian 12.

For every desktop-file name in src/platform/linux/desktop_tool_table.h this
downloads (apt-get download, into a temporary folder) the Debian 12 package
named for it below, lists its files with dpkg -c and looks for
usr/share/applications/<name>. It writes what it found to
tests/data/desktop-tools/debian12.txt, one "<name> <package> <version>" a
line; a test compares the table with that list, so a name that no package
ships fails without a network.

Run it again on a Debian 12 machine when the table changes:

    scripts/desktop-tool-packages.py

It fails, and writes nothing, when a name of the table has no package here
or its package does not ship it.
"""

import os
import re
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TABLE = os.path.join(ROOT, "src", "platform", "linux", "desktop_tool_table.h")
LIST = os.path.join(ROOT, "tests", "data", "desktop-tools", "debian12.txt")

# The package that ships each desktop entry of the table.
PACKAGES = {
    "gnome-power-panel.desktop": "gnome-control-center",
    "gnome-network-panel.desktop": "gnome-control-center",
    "gnome-datetime-panel.desktop": "gnome-control-center",
    "gnome-info-overview-panel.desktop": "gnome-control-center",
    "kcm_powerdevilprofilesconfig.desktop": "powerdevil",
    "kcm_networkmanagement.desktop": "plasma-nm",
    "kcm_about-distro.desktop": "kinfocenter",
    "org.kde.kinfocenter.desktop": "kinfocenter",
    "cinnamon-settings-power.desktop": "cinnamon",
    "cinnamon-settings-calendar.desktop": "cinnamon",
    "cinnamon-settings-info.desktop": "cinnamon",
    "xfce4-power-manager-settings.desktop": "xfce4-power-manager",
    "xfce4-taskmanager.desktop": "xfce4-taskmanager",
    "xfce4-about.desktop": "libxfce4ui-utils",
    "mate-power-preferences.desktop": "mate-power-manager",
    "mate-system-monitor.desktop": "mate-system-monitor",
    "mate-calc.desktop": "mate-calc",
    "lxqt-config-powermanagement.desktop": "lxqt-powermanagement",
    "lxqt-admin-time.desktop": "lxqt-admin",
    "nm-connection-editor.desktop": "network-manager-gnome",
    "gnome-system-monitor.desktop": "gnome-system-monitor",
    "org.kde.plasma-systemmonitor.desktop": "plasma-systemmonitor",
    "qps.desktop": "qps",
    "lxtask.desktop": "lxtask",
    "hardinfo.desktop": "hardinfo",
    "org.gnome.Software.desktop": "gnome-software",
    "org.kde.discover.desktop": "plasma-discover",
    "org.gnome.Packages.desktop": "gnome-packagekit",
    "synaptic.desktop": "synaptic",
    "org.gnome.Calculator.desktop": "gnome-calculator",
    "org.kde.kcalc.desktop": "kcalc",
    "galculator.desktop": "galculator",
    "qalculate-gtk.desktop": "qalculate-gtk",
}


def table_names():
    with open(TABLE, encoding="utf-8") as f:
        text = f.read()
    # Candidates are written {"name.desktop"} or {"name.desktop", "DESKTOP"}.
    return sorted(set(re.findall(r'\{"([^" ]+\.desktop)"', text)))


def run(args, cwd=None):
    return subprocess.run(args, cwd=cwd, capture_output=True, text=True)


def main():
    names = table_names()
    faults = [f"{n}: no package named for it" for n in names if n not in PACKAGES]
    found = {}
    with tempfile.TemporaryDirectory(prefix="desktop-tools-") as folder:
        os.chmod(folder, 0o755)  # apt's own user writes the download
        for package in sorted({PACKAGES[n] for n in names if n in PACKAGES}):
            got = run(["apt-get", "download", package], cwd=folder)
            debs = [d for d in os.listdir(folder) if d.startswith(package + "_")]
            if got.returncode != 0 or not debs:
                faults.append(f"{package}: cannot download: {got.stderr.strip()}")
                continue
            deb = os.path.join(folder, debs[0])
            version = run(["dpkg-deb", "-f", deb, "Version"]).stdout.strip()
            listing = run(["dpkg", "-c", deb]).stdout
            files = {line.split()[-1].lstrip(".") for line in listing.splitlines() if line}
            found[package] = (version, files)
            os.remove(deb)
    lines = []
    for name in names:
        package = PACKAGES.get(name)
        if package not in found:
            continue
        version, files = found[package]
        if "/usr/share/applications/" + name in files:
            lines.append(f"{name} {package} {version}")
        else:
            faults.append(f"{name}: not in {package} {version}")
    if faults:
        print("\n".join(faults), file=sys.stderr)
        return 1
    os.makedirs(os.path.dirname(LIST), exist_ok=True)
    with open(LIST, "w", encoding="utf-8") as f:
        f.write("# Desktop entries of the tool table, the Debian 12 package that ships each\n"
                "# and its version; written by scripts/desktop-tool-packages.py.\n")
        f.write("\n".join(lines) + "\n")
    print(f"{len(lines)} entries checked; wrote {os.path.relpath(LIST, ROOT)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
