'''A StatusNotifier watcher with a host registered, as a desktop panel that
shows tray icons over D-Bus (KDE Plasma, GNOME's AppIndicator extension) has.
Items register with it; nothing else is needed to make Qt use it.
'''

import dbus

BUS_NAME = 'org.kde.StatusNotifierWatcher'
MAIN_OBJ = '/StatusNotifierWatcher'
MAIN_IFACE = 'org.kde.StatusNotifierWatcher'
SYSTEM_BUS = False


def load(mock, parameters):
    mock.AddProperties(MAIN_IFACE, {
        'IsStatusNotifierHostRegistered': True,
        'ProtocolVersion': dbus.Int32(0),
        'RegisteredStatusNotifierItems': dbus.Array([], signature='s'),
    })
    mock.AddMethod(MAIN_IFACE, 'RegisterStatusNotifierItem', 's', '', '')
    mock.AddMethod(MAIN_IFACE, 'RegisterStatusNotifierHost', 's', '', '')
