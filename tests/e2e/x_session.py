"""A private X server with a window manager, and the program driven through it with real X events."""

import ctypes
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

TIMEOUT = 30.0  # seconds for any awaited window state; generous for a loaded 2-core machine


class Failure(Exception):
    pass


_libc = ctypes.CDLL(None, use_errno=True)


def _end_with_parent():
    """Children end with the driver, even when it is killed (a CTest timeout)."""
    _libc.prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


def spawn(args, **kwargs):
    return subprocess.Popen(args, preexec_fn=_end_with_parent, **kwargs)


def wait_for(what, probe, timeout=TIMEOUT, interval=0.05):
    """Polls probe() until it returns something truthy; fails with `what` on timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for " + what)
        time.sleep(interval)


def settles(probe, quiet=0.4, timeout=TIMEOUT):
    """Waits until probe() returns the same value for `quiet` seconds, and returns that value."""
    deadline = time.monotonic() + timeout
    last = probe()
    since = time.monotonic()
    while time.monotonic() < deadline:
        time.sleep(0.05)
        value = probe()
        if value != last:
            last, since = value, time.monotonic()
        elif time.monotonic() - since >= quiet:
            return value
    raise Failure("value kept changing: %r" % (last,))


class Scratch:
    """The processes a session started (`procs`) and its scratch folder (`tmp`), ended on close."""

    def close(self):
        for proc in reversed(self.procs):
            if proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        shutil.rmtree(self.tmp, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False


class Session(Scratch):
    """Xvfb on a free display, a window manager (openbox or xfwm4), and the program under test."""

    def __init__(self, program, window_manager="openbox"):
        self.procs = []
        self.tmp = tempfile.mkdtemp(prefix="quorvane-e2e-")
        try:
            self._start_x(program, window_manager)
        except BaseException:
            self.close()
            raise

    def _start_x(self, program, window_manager):
        for tool in ("Xvfb", "xdotool", "xprop", "xwininfo"):
            if not shutil.which(tool):
                raise Failure("missing tool " + tool)
        self.program = os.path.abspath(program)
        self.app = None
        read_fd, write_fd = os.pipe()
        self.xvfb = spawn(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
             "-ardelay", "250", "-arinterval", "30"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.procs.append(self.xvfb)
        os.close(write_fd)
        number = b""
        deadline = time.monotonic() + TIMEOUT
        while not number.endswith(b"\n"):
            if time.monotonic() > deadline or self.xvfb.poll() is not None:
                raise Failure("Xvfb did not start")
            chunk = os.read(read_fd, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_fd)
        self.display = ":" + number.decode().strip()
        self.env = dict(os.environ, DISPLAY=self.display)
        for key in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XAUTHORITY", "QT_SCALE_FACTOR"):
            self.env.pop(key, None)
        self.env["QT_QPA_PLATFORM"] = "xcb"
        self.env["LC_ALL"] = "C.UTF-8"
        self.env["HOME"] = self.tmp
        self.env["XDG_RUNTIME_DIR"] = self.tmp
        wait_for("the X server on " + self.display, self._server_up)
        if window_manager:
            self._start_window_manager(window_manager)
        self.x("xset", "r", "on")

    def _start_window_manager(self, name, attempts=3):
        wm_home = os.path.join(self.tmp, "wm")
        os.makedirs(wm_home, exist_ok=True)
        self.wm_log = os.path.join(self.tmp, "wm.log")
        for attempt in range(attempts):
            with open(self.wm_log, "w") as log:
                command = {"openbox": ["openbox", "--sm-disable"],
                           "xfwm4": ["dbus-run-session", "--", "xfwm4", "--compositor=off", "--sm-client-disable"]}[name]
                self.wm = spawn(command, env=dict(self.env, HOME=wm_home), stdout=log, stderr=subprocess.STDOUT)
            self.procs.append(self.wm)
            try:
                wait_for("the window manager", lambda: self.wm.poll() is not None or self._wm_running())
            except Failure:
                pass
            if self.wm.poll() is None and self._wm_running():
                return
            if self.wm.poll() is None:
                self.wm.terminate()
                self.wm.wait()
        with open(self.wm_log) as log:
            raise Failure("the window manager did not start on %s (status %s): %s"
                          % (self.display, self.wm.poll(), log.read().strip()))

    def _server_up(self):
        if self.xvfb.poll() is not None:
            raise Failure("Xvfb on %s ended with status %s" % (self.display, self.xvfb.returncode))
        return subprocess.run(["xprop", "-root", "_NET_SUPPORTED"], env=self.env, capture_output=True,
                              timeout=TIMEOUT).returncode == 0

    def _wm_running(self):
        out = self.x("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False)
        return "window id" in out

    # -- running commands -------------------------------------------------------------------------

    def x(self, *args, check=True, input=None):
        result = subprocess.run(args, env=self.env, capture_output=True, text=True, input=input, timeout=TIMEOUT)
        if check and result.returncode != 0:
            raise Failure("%s failed: %s" % (" ".join(args), result.stderr.strip()))
        return result.stdout

    def xdotool(self, *args, check=True):
        return self.x("xdotool", *map(str, args), check=check)

    # -- the program ------------------------------------------------------------------------------

    def start(self):
        with open(os.path.join(self.tmp, "program.log"), "w") as log:
            self.app = spawn([self.program], env=self.env, cwd=self.tmp, stdout=log, stderr=subprocess.STDOUT)
        self.procs.append(self.app)
        self.window = wait_for("the main window", lambda: self.main_window())
        wait_for("the main window on screen", lambda: self.is_viewable(self.window))
        self.settle_geometry()
        return self.window

    def windows(self):
        """Visible top-level windows of the program, as (id, title)."""
        if self.app is None or self.app.poll() is not None:
            return []
        out = self.xdotool("search", "--onlyvisible", "--pid", self.app.pid, check=False)
        result = []
        for line in out.split():
            title = self.title(line)
            if title is not None:
                result.append((line, title))
        return result

    def title(self, window):
        result = subprocess.run(["xdotool", "getwindowname", str(window)], env=self.env, capture_output=True,
                                timeout=TIMEOUT)
        return result.stdout.decode("utf-8", "replace").rstrip("\n") if result.returncode == 0 else None

    def main_window(self):
        for window, title in self.windows():
            if title == "Quorvane":
                return window
        return None

    def dialog(self, title):
        """The visible window of the program with this title, if any."""
        for window, name in self.windows():
            if name == title:
                return window
        return None

    def wait_dialog(self, title):
        window = wait_for("the window «%s»" % title, lambda: self.dialog(title))
        wait_for("the window «%s» to take the focus" % title, lambda: self.focused() == int(window))
        return window

    def wait_no_dialog(self, title):
        wait_for("the window «%s» to close" % title, lambda: self.dialog(title) is None)

    def focused(self):
        out = self.xdotool("getwindowfocus", "-f", check=False).strip()
        return int(out) if out.isdigit() else None

    def is_viewable(self, window):
        return "IsViewable" in self.x("xwininfo", "-id", str(window), check=False)

    def geometry(self, window=None):
        """Absolute position and size of a window's client area: (x, y, width, height)."""
        out = self.x("xwininfo", "-id", str(window or self.window))
        values = {}
        for key, label in (("x", "Absolute upper-left X"), ("y", "Absolute upper-left Y"),
                           ("w", "Width"), ("h", "Height")):
            values[key] = int(re.search(label + r":\s+(-?\d+)", out).group(1))
        return values["x"], values["y"], values["w"], values["h"]

    def settle_geometry(self):
        return settles(lambda: self.geometry())

    def wait_exit(self):
        wait_for("the program to end", lambda: self.app.poll() is not None)
        return self.app.returncode

    # -- input ------------------------------------------------------------------------------------

    def pointer(self):
        out = self.xdotool("getmouselocation", "--shell")
        values = dict(line.split("=", 1) for line in out.split())
        return int(values["X"]), int(values["Y"])

    def pointer_to(self, x, y):
        # --sync waits for motion, and there is none when the pointer is there already.
        if self.pointer() != (x, y):
            self.xdotool("mousemove", "--sync", x, y)

    def at(self, dx, dy):
        """Screen point at an offset inside the main window."""
        x, y, _, _ = self.geometry()
        return x + dx, y + dy

    def click_at(self, dx, dy, button=1):
        x, y = self.at(dx, dy)
        self.pointer_to(x, y)
        self.xdotool("click", button)

    def key(self, *keys):
        self.xdotool("key", "--clearmodifiers", *keys)

    def clipboard(self):
        result = subprocess.run(["xclip", "-selection", "clipboard", "-o"], env=self.env, capture_output=True,
                                timeout=TIMEOUT)
        return result.stdout.decode("utf-8", "replace") if result.returncode == 0 else None

    def type_text(self, text):
        """Types text through the clipboard, which carries any letters, Cyrillic included."""
        clip = spawn(["xclip", "-selection", "clipboard"], env=self.env, stdin=subprocess.PIPE,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        clip.stdin.write(text.encode("utf-8"))
        clip.stdin.close()
        self.procs.append(clip)
        wait_for("the clipboard", lambda: self.clipboard() == text)
        self.key("ctrl+v")



def run(cases, program, session_class=Session):
    """Runs each case in a fresh session; prints a line per case; exit status 1 if any failed."""
    failed = 0
    for case in cases:
        started = time.monotonic()
        try:
            with session_class(program, getattr(case, "window_manager", "openbox")) as session:
                try:
                    case(session)
                except Exception as error:
                    raise Failure("%s; windows then: %s" % (error, session.windows())) from error
            print("PASS %s (%.1f s)" % (case.__name__, time.monotonic() - started), flush=True)
        except Exception as error:  # every failure is reported, the remaining cases still run
            failed += 1
            print("FAIL %s: %s" % (case.__name__, error), flush=True)
    return 1 if failed else 0
