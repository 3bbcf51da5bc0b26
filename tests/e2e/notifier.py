"""A StatusNotifier watcher on the test's session bus, as a desktop panel
that shows tray icons over D-Bus has one (xfce4-panel, Plasma, waybar,
GNOME's AppIndicator extension), and what such a panel reads of the items.

The watcher is python3-dbusmock with the template the Qt tray's tests use;
its log holds every RegisterStatusNotifierItem call."""

import os
import re
import subprocess

from harness import OUT, fail, wait_for

HERE = os.path.dirname(os.path.abspath(__file__))
WATCHER_TEMPLATE = os.path.join(HERE, "..", "data", "dbusmock", "status_notifier_watcher.py")
ITEM_IFACE = "org.kde.StatusNotifierItem"
MENU_IFACE = "com.canonical.dbusmenu"
PROPERTIES = "org.freedesktop.DBus.Properties"


class Watcher:
    """Started for a desktop of the harness, which ends it with the rest."""

    def __init__(self, desktop):
        self.log = os.path.join(OUT, desktop.name + ".watcher.log")
        open(self.log, "w").close()
        desktop.procs.append(subprocess.Popen(
            ["/usr/bin/python3", "-m", "dbusmock", "-t", WATCHER_TEMPLATE, "-l", self.log],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        if not wait_for(lambda: bus().name_has_owner("org.kde.StatusNotifierWatcher"), 15):
            fail("the StatusNotifier watcher did not come up")

    def registered_items(self):
        """The services registered with the watcher, in order."""
        with open(self.log, encoding="utf-8") as f:
            return re.findall(r'RegisterStatusNotifierItem "([^"]+)"', f.read())


def bus():
    import dbus
    if not hasattr(bus, "session"):
        bus.session = dbus.SessionBus()
    return bus.session


def item(service):
    """All properties of a registered item (None once it is gone)."""
    import dbus
    try:
        obj = bus().get_object(service, "/StatusNotifierItem")
        return obj.GetAll(ITEM_IFACE, dbus_interface=PROPERTIES)
    except dbus.DBusException:
        return None


def menu_entries(service, path):
    """The item's menu as a panel's DBusMenu client reads it:
    [(id, label, enabled), ...] below the root."""
    menu = bus().get_object(service, path)
    menu.AboutToShow(0, dbus_interface=MENU_IFACE)
    _, (root, _, children) = menu.GetLayout(0, -1, [], dbus_interface=MENU_IFACE)
    if root != 0:
        fail(f"the menu's root is {root}")
    return [(int(c[0]), str(c[1].get("label", "")), bool(c[1].get("enabled", True)))
            for c in children]


def choose(service, path, entry):
    """What a panel sends when the user clicks a menu entry."""
    import dbus
    menu = bus().get_object(service, path)
    menu.Event(0, "opened", dbus.String("", variant_level=1), dbus.UInt32(0),
               dbus_interface=MENU_IFACE)
    menu.Event(entry, "clicked", dbus.String("", variant_level=1), dbus.UInt32(0),
               dbus_interface=MENU_IFACE)
