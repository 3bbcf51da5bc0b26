'''udisks2 with ATA drives that report a SMART temperature.

Parameters: {"disks": {"<block name>": kelvin or null}}. A disk given null is a
block device without a drive (its Drive property is "/").
'''

import dbus

import dbusmock

BUS_NAME = 'org.freedesktop.UDisks2'
MAIN_OBJ = '/org/freedesktop/UDisks2'
MAIN_IFACE = 'org.freedesktop.UDisks2.Manager'
SYSTEM_BUS = True


def load(mock, parameters):
    mock.AddProperties(MAIN_IFACE, {'Version': '2.9.4'})
    for block, kelvin in parameters.get('disks', {}).items():
        drive = '/'
        if kelvin is not None:
            drive = '/org/freedesktop/UDisks2/drives/Mock_Disk_' + block
            mock.AddObject(drive, 'org.freedesktop.UDisks2.Drive',
                           {'Model': 'Mock Disk', 'Serial': block}, [])
            dbusmock.get_object(drive).AddProperties(
                'org.freedesktop.UDisks2.Drive.Ata',
                {'SmartSupported': True, 'SmartEnabled': True,
                 'SmartTemperature': dbus.Double(kelvin)})
        mock.AddObject('/org/freedesktop/UDisks2/block_devices/' + block,
                       'org.freedesktop.UDisks2.Block',
                       {'Device': dbus.ByteArray(('/dev/' + block).encode() + b'\0'),
                        'Drive': dbus.ObjectPath(drive)}, [])
