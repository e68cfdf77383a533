"""A headless sway (native Wayland) with a VNC front for pointer input, wtype for text, and the
program under test as a native Wayland client. sway refuses to run as root, so when the test
runs as root the compositor, its helpers and the program run as the unprivileged `nobody`."""

import json
import os
import shutil
import socket
import struct
import subprocess
import tempfile
import time

from x_session import Failure, Scratch, TIMEOUT, spawn, wait_for

VNC_PORT = 5931


class Vnc:
    """Just enough of an RFB client to move the pointer and press its buttons."""

    def __init__(self, port):
        self.sock = wait_for("the VNC server", lambda: self._connect(port))
        self._read(12)
        self.sock.sendall(b"RFB 003.008\n")
        types = self._read(self._read(1)[0])
        if 1 not in types:
            raise Failure("the VNC server asks for authentication")
        self.sock.sendall(b"\x01")
        if struct.unpack(">I", self._read(4))[0] != 0:
            raise Failure("the VNC server refused the connection")
        self.sock.sendall(b"\x01")  # shared
        self._read(20)
        self._read(struct.unpack(">I", self._read(4))[0])
        self.buttons = 0
        self.where = (0, 0)

    @staticmethod
    def _connect(port):
        try:
            return socket.create_connection(("127.0.0.1", port), timeout=TIMEOUT)
        except OSError:
            return None

    def _read(self, count):
        data = b""
        while len(data) < count:
            chunk = self.sock.recv(count - len(data))
            if not chunk:
                raise Failure("the VNC server closed the connection")
            data += chunk
        return data

    def _send(self):
        self.sock.sendall(struct.pack(">BBHH", 5, self.buttons, *self.where))

    def move(self, x, y):
        self.where = (x, y)
        self._send()

    # X button numbers: 1 left, 2 middle, 3 right; RFB masks 1, 2, 4.
    def press(self, button):
        self.buttons |= 1 << (button - 1)
        self._send()

    def release(self, button):
        self.buttons &= ~(1 << (button - 1))
        self._send()

    def close(self):
        self.sock.close()


class WaylandSession(Scratch):
    def __init__(self, program):
        for tool in ("sway", "swaymsg", "wayvnc", "wtype", "wl-paste"):
            if not shutil.which(tool):
                raise Failure("missing tool " + tool)
        self.procs = []
        self.vnc = None
        self.app = None
        self.tmp = tempfile.mkdtemp(prefix="quorvane-wayland-")
        self.user = ["runuser", "-u", "nobody", "--"] if os.getuid() == 0 else []
        if self.user:
            os.chmod(self.tmp, 0o700)
            shutil.chown(self.tmp, "nobody")
        try:
            self._start(os.path.abspath(program))
        except BaseException:
            self.close()
            raise

    def _start(self, program):
        self.program = program
        config = os.path.join(self.tmp, "config")
        with open(config, "w") as f:
            f.write("output HEADLESS-1 resolution 1024x768 position 0 0\n")
        self.env = {"PATH": "/usr/bin:/bin", "HOME": self.tmp, "XDG_RUNTIME_DIR": self.tmp, "LC_ALL": "C.UTF-8",
                    "WLR_BACKENDS": "headless", "WLR_LIBINPUT_NO_DEVICES": "1", "WLR_RENDERER": "pixman"}
        self.sway = self._spawn(["sway", "-c", config], "sway.log")
        display = wait_for("sway's Wayland socket", lambda: self._socket("wayland-"))
        self.env["WAYLAND_DISPLAY"] = display
        self.env["SWAYSOCK"] = os.path.join(self.tmp, wait_for("sway's IPC socket", lambda: self._socket("sway-ipc.")))
        self._spawn(["wayvnc", "127.0.0.1", str(VNC_PORT)], "wayvnc.log")
        self.vnc = Vnc(VNC_PORT)

    def _socket(self, prefix):
        if self.sway.poll() is not None:
            with open(os.path.join(self.tmp, "sway.log")) as log:
                raise Failure("sway ended with status %s: %s" % (self.sway.returncode, log.read()[-400:]))
        for name in os.listdir(self.tmp):
            if name.startswith(prefix) and not name.endswith(".lock"):
                return name
        return None

    def _spawn(self, args, log_name):
        with open(os.path.join(self.tmp, log_name), "w") as log:
            proc = spawn(self.user + ["env", "-i"] + ["%s=%s" % item for item in self.env.items()] + args,
                         cwd=self.tmp, stdout=log, stderr=subprocess.STDOUT)
        self.procs.append(proc)
        return proc

    def run(self, *args):
        result = subprocess.run(self.user + ["env", "-i"] + ["%s=%s" % item for item in self.env.items()]
                                + list(args), capture_output=True, text=True, timeout=TIMEOUT)
        if result.returncode != 0:
            raise Failure("%s failed: %s" % (" ".join(args), result.stderr.strip()))
        return result.stdout

    # -- the program ------------------------------------------------------------------------------

    def start(self):
        self.env["QT_QPA_PLATFORM"] = "wayland"
        self.app = self._spawn([self.program], "program.log")
        self.node = wait_for("the main window", lambda: self.window_node("Quorvane"))
        return self.node

    def nodes(self):
        """The program's windows as sway shows them."""
        found = []

        def walk(node):
            if node.get("pid") and node.get("name") is not None:
                found.append(node)
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                walk(child)

        walk(json.loads(self.run("swaymsg", "-r", "-t", "get_tree")))
        return found

    def window_node(self, title):
        for node in self.nodes():
            if node["name"] == title and node["rect"]["width"] > 0:
                return node
        return None

    def geometry(self):
        rect = self.window_node("Quorvane")["rect"]
        return rect["x"], rect["y"], rect["width"], rect["height"]

    def at(self, dx, dy):
        x, y, _, _ = self.geometry()
        return x + dx, y + dy

    def click_at(self, dx, dy, button=1):
        self.vnc.move(*self.at(dx, dy))
        time.sleep(0.05)
        self.vnc.press(button)
        time.sleep(0.05)
        self.vnc.release(button)

    def wtype(self, *args):
        self.run("wtype", *args)

    def program_log(self):
        with open(os.path.join(self.tmp, "program.log"), errors="replace") as log:
            return log.read()

    def close(self):
        if self.vnc:
            self.vnc.close()
        super().close()
