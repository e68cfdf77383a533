"""The program under Xvfb with its own D-Bus session bus and AT-SPI bus, read by a pyatspi client."""

import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "e2e"))
from x_session import TIMEOUT, Failure, Session, spawn, wait_for  # noqa: E402

BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"


class AtspiSession(Session):
    """Xvfb and openbox (from the e2e session), a private session bus and an AT-SPI bus on it.

    The driver's own environment points at the private buses, so a pyatspi imported after
    the session started talks to them and to nothing else."""

    def __init__(self, program, window_manager="openbox"):
        super().__init__(program, window_manager)
        try:
            self._start_buses()
        except BaseException:
            self.close()
            raise

    def _start_buses(self):
        if not os.path.exists(BUS_LAUNCHER):
            raise Failure("missing " + BUS_LAUNCHER + " (at-spi2-core)")
        self.session_bus = spawn(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                                 env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.procs.append(self.session_bus)
        address = self.session_bus.stdout.readline().decode().strip()
        if not address:
            raise Failure("the session bus did not start")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        self.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        self.launcher = spawn([BUS_LAUNCHER, "--launch-immediately"], env=self.env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.procs.append(self.launcher)
        # Asked before the launcher holds its name, the session bus would start a second one.
        wait_for("the AT-SPI bus launcher", self._launcher_up)
        self.a11y_address = wait_for("the AT-SPI bus", self._a11y_bus_address)
        os.environ.update({key: self.env[key] for key in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS")})
        os.environ["AT_SPI_BUS_ADDRESS"] = self.a11y_address

    def _launcher_up(self):
        result = subprocess.run(["dbus-send", "--session", "--print-reply=literal", "--dest=org.freedesktop.DBus",
                                 "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"],
                                env=self.env, capture_output=True, text=True, timeout=TIMEOUT)
        return result.stdout.split() == ["boolean", "true"]

    def _a11y_bus_address(self):
        result = subprocess.run(["dbus-send", "--session", "--print-reply=literal", "--dest=org.a11y.Bus",
                                 "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                                env=self.env, capture_output=True, text=True, timeout=TIMEOUT)
        return result.stdout.strip() if result.returncode == 0 else None

    def bus_daemon_pid(self):
        """The dbus-daemon that carries the AT-SPI bus: the launcher's child, once it has one."""
        def child():
            for task in os.listdir("/proc/%d/task" % self.launcher.pid):
                with open("/proc/%d/task/%s/children" % (self.launcher.pid, task)) as f:
                    for pid in f.read().split():
                        with open("/proc/%s/comm" % pid) as comm:
                            if comm.read().strip() == "dbus-daemon":
                                return int(pid)
            return None
        return wait_for("the AT-SPI bus daemon", child)
