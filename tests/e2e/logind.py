"""python3-dbusmock's logind on a bus of the test's own.

The program is started with DBUS_SYSTEM_BUS_ADDRESS pointing at that bus, so
its power actions reach the mock and never a real logind. Before anything is
started against it, the mock is checked to be what answers there.
"""

import os
import subprocess
import time

import harness


class PrivateLogind:
    def __init__(self, name, parameters=None):
        self.name = name
        self.parameters = parameters or {}
        self.procs = []
        self.address = None

    def __enter__(self):
        os.makedirs(harness.OUT, exist_ok=True)
        daemon = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--print-address=1"],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.procs.append(daemon)
        self.address = daemon.stdout.readline().strip()
        if not self.address:
            harness.fail("the private bus did not start")
        env = dict(os.environ, DBUS_SYSTEM_BUS_ADDRESS=self.address)
        args = ["/usr/bin/python3", "-m", "dbusmock", "--system", "--template", "logind"]
        if self.parameters:
            import json
            args += ["--parameters", json.dumps(self.parameters)]
        log = open(os.path.join(harness.OUT, self.name + ".logind.log"), "w")
        self.procs.append(subprocess.Popen(args, env=env, stdout=log, stderr=log))
        if not harness.wait_for(self._is_mock, 10, step=0.2):
            harness.fail("the logind mock did not come up on the private bus")
        return self

    def __exit__(self, *exc):
        for p in reversed(self.procs):
            p.terminate()
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                p.kill()
                p.wait()
        return False

    def env(self):
        """What the program needs to use this logind and nothing else:
        power actions carried out for real, against the mock."""
        if not self._is_mock():
            harness.fail("refusing to run the program: the private bus has no logind mock")
        return {"DBUS_SYSTEM_BUS_ADDRESS": self.address, "QUORVANE_DRY_RUN": "0"}

    def _bus(self):
        import dbus
        return dbus.bus.BusConnection(self.address)

    def _is_mock(self):
        try:
            bus = self._bus()
            obj = bus.get_object("org.freedesktop.login1", "/org/freedesktop/login1")
            xml = obj.Introspect(dbus_interface="org.freedesktop.DBus.Introspectable")
            return "org.freedesktop.DBus.Mock" in xml
        except Exception:
            return False

    def calls(self):
        """The methods called on the manager so far, as (name, arguments)."""
        bus = self._bus()
        obj = bus.get_object("org.freedesktop.login1", "/org/freedesktop/login1")
        return [(str(name), [bool(a) if isinstance(a, bool) or type(a).__name__ == "Boolean"
                             else a for a in args])
                for _, name, args in obj.GetCalls(dbus_interface="org.freedesktop.DBus.Mock")]

    def actions(self):
        """The power actions received: PowerOff, Reboot, Suspend (no Can* asks)."""
        return [(name, args) for name, args in self.calls() if not name.startswith("Can")]

    def wait_for_action(self, timeout):
        return harness.wait_for(self.actions, timeout, step=0.2)
