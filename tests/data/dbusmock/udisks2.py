'''udisks2 with ATA drives that report a SMART temperature, and drives that
can be ejected.

Parameters: {"disks": {"<block name>": kelvin or null},
             "drives": {"<drive name>": {"MediaCompatibility": [...],
                                         "Optical": bool, "MediaRemovable": bool,
                                         "EjectFails": bool, "EjectSeconds": n}}}
A disk given null is a block device without a drive (its Drive property is
"/"). Each drive is /org/freedesktop/UDisks2/drives/<name>; an Eject that
succeeds is logged as "Ejected <drive path>", after EjectSeconds when given
(a tray that takes its time to open).
'''

import dbus

import dbusmock

BUS_NAME = 'org.freedesktop.UDisks2'
MAIN_OBJ = '/org/freedesktop/UDisks2'
MAIN_IFACE = 'org.freedesktop.UDisks2.Manager'
IS_OBJECT_MANAGER = True
SYSTEM_BUS = True

DRIVE_IFACE = 'org.freedesktop.UDisks2.Drive'


def add_drive(mock, path, properties, fails=False, seconds=0):
    props = {'MediaCompatibility': dbus.Array([], signature='s'),
             'Optical': False, 'MediaRemovable': False, 'Ejectable': False}
    props.update(properties)
    props['MediaCompatibility'] = dbus.Array(props['MediaCompatibility'], signature='s')
    if fails:
        code = ("raise dbus.exceptions.DBusException('Error ejecting: busy', "
                "name='org.freedesktop.UDisks2.Error.Failed')")
    else:
        code = "self.log('Ejected ' + self.path)"
    if seconds:
        code = "import time; time.sleep(%r); " % seconds + code
    mock.AddObject(path, DRIVE_IFACE, props, [('Eject', 'a{sv}', '', code)])


def load(mock, parameters):
    mock.AddProperties(MAIN_IFACE, {'Version': '2.9.4'})
    for block, kelvin in parameters.get('disks', {}).items():
        drive = '/'
        if kelvin is not None:
            drive = '/org/freedesktop/UDisks2/drives/Mock_Disk_' + block
            add_drive(mock, drive, {'Model': 'Mock Disk', 'Serial': block})
            dbusmock.get_object(drive).AddProperties(
                'org.freedesktop.UDisks2.Drive.Ata',
                {'SmartSupported': True, 'SmartEnabled': True,
                 'SmartTemperature': dbus.Double(kelvin)})
        mock.AddObject('/org/freedesktop/UDisks2/block_devices/' + block,
                       'org.freedesktop.UDisks2.Block',
                       {'Device': dbus.ByteArray(('/dev/' + block).encode() + b'\0'),
                        'Drive': dbus.ObjectPath(drive)}, [])
    for name, drive in parameters.get('drives', {}).items():
        fails = drive.pop('EjectFails', False)
        seconds = drive.pop('EjectSeconds', 0)
        drive.setdefault('Ejectable', True)
        add_drive(mock, '/org/freedesktop/UDisks2/drives/' + name, drive, fails, seconds)
