"""On a desktop whose tray is a StatusNotifier host (xfce4-panel, Plasma,
waybar, GNOME with its AppIndicator extension) the panel, not the program,
shows an icon's menu: both icons register as items of their own, each with
its own id and title, the readout's picture at every size panels ask for,
and the program's menu over DBusMenu. Choosing "退出" there, as the panel's
menu client does, ends the program and takes both items away.

The panel is a StatusNotifier watcher on the test's own bus and a DBusMenu
client in this script; the program runs three times faster (libfaketime)."""

from harness import Desktop, fail, wait_for
from notifier import Watcher, choose, item, menu_entries

SPEED = 3
SIZES = [16, 22, 24, 32, 48]


def main():
    with Desktop("notifier_tray", tray=False, wm=False) as d:
        watcher = Watcher(d)
        app = d.start_app({"QUORVANE_SYS_ROOT": "/nonexistent"}, speed=SPEED)

        # The readout icon comes with the first picture, 6 program seconds on.
        items = wait_for(lambda: len(watcher.registered_items()) >= 2, 6 / SPEED + 15)
        items = watcher.registered_items()
        if len(items) != 2 or len(set(items)) != 2:
            fail(f"expected two items with the watcher, it has {items}")
        props = {s: item(s) for s in items}
        by_id = {str(p["Id"]): (s, p) for s, p in props.items() if p}
        if sorted(by_id) != ["quorvane", "quorvane-readout"]:
            fail("the items' ids are %s" % sorted(by_id))
        if len({str(p["Title"]) for _, p in by_id.values()}) != 2:
            fail("the items share a title")
        readout = by_id["quorvane-readout"][0]
        sizes = wait_for(lambda: [int(p[0]) for p in (item(readout) or {}).get("IconPixmap", [])]
                         == SIZES, 5)
        if not sizes:
            fail("the readout offers its picture at %s, not %s" %
                 ([(int(p[0]), int(p[1])) for p in item(readout)["IconPixmap"]], SIZES))

        # The panel's menu client, on the application icon.
        service, app_props = by_id["quorvane"]
        path = str(app_props["Menu"])
        if path in ("", "/", "/NO_DBUSMENU"):
            fail("the application item exports no menu: %r" % path)
        entries = menu_entries(service, path)
        if [(label, enabled) for _, label, enabled in entries] != [("退出", True)]:
            fail("the menu holds %r" % entries)
        choose(service, path, entries[0][0])

        if not wait_for(lambda: app.poll() is not None, 10):
            fail("退出 in the panel's menu did not end the program")
        if app.returncode != 0:
            fail("the program ended with status %d" % app.returncode)
        if any(item(s) is not None for s in items):
            fail("an item stayed on the bus after the exit")


if __name__ == "__main__":
    main()
