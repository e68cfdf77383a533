#!/usr/bin/env python3
"""The real program as a native Wayland client of a headless sway (label e2e).

Usage: wayland_cases.py PROGRAM"""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from wayland_session import WaylandSession  # noqa: E402
from window_cases import CAPTION_BAR, CLOSE, LETTERS, expect  # noqa: E402
from x_session import Failure, settles, wait_for  # noqa: E402


def position(s):
    return settles(lambda: s.geometry()[:2])


def wayland_window(s):
    """Native and frameless; caption drags and taps with each button; the letters box takes text; close ends it."""
    node = s.start()
    expect(node["type"] == "floating_con", "the fixed-size window is not floating: %s" % node["type"])
    expect(node["border"] in ("none", "csd"), "sway frames the window: border %r" % node["border"])
    expect("xwayland" not in s.program_log().lower() and node.get("shell") == "xdg_shell",
           "not a native Wayland window: %s" % node.get("shell"))
    for button, delta in ((1, (60, 40)), (3, (-45, 30)), (2, (35, -50))):
        before = position(s)
        x, y = s.at(*CAPTION_BAR)
        s.vnc.move(x, y)
        time.sleep(0.1)
        s.vnc.press(button)
        for i in range(1, 5):
            time.sleep(0.05)
            s.vnc.move(x + delta[0] * i // 4, y + delta[1] * i // 4)
        time.sleep(0.1)
        s.vnc.release(button)
        target = (before[0] + delta[0], before[1] + delta[1])
        where = position(s)
        expect(where == target, "button %d moved the window from %s to %s, not by %s" % (button, before, where, delta))
    # Taps: press and release back to back, bare or after one small motion; nothing follows the pointer then.
    for button, motion in ((1, (0, 0)), (3, (0, 0)), (2, (0, 0)), (1, (7, 5))):
        x, y = s.at(*CAPTION_BAR)
        s.vnc.move(x, y)
        time.sleep(0.1)
        s.vnc.press(button)
        s.vnc.move(x + motion[0], y + motion[1])
        s.vnc.release(button)
        where = position(s)
        for dx, dy in ((40, 30), (-25, 50), (15, -35)):
            s.vnc.move(x + dx, y + dy)
        expect(position(s) == where, "a tap with button %d left the window following the pointer" % button)
    s.click_at(*LETTERS)
    s.wtype("ток")
    s.wtype("-M", "ctrl", "a", "c", "-m", "ctrl")
    wait_for("the letters box to read «ток»", lambda: s.run("wl-paste", "-n") == "ток")
    s.click_at(*CLOSE)
    wait_for("the program to end", lambda: s.app.poll() is not None)
    expect(s.app.returncode == 0, "the program ended with status %s" % s.app.returncode)


def main():
    started = time.monotonic()
    try:
        with WaylandSession(sys.argv[1]) as session:
            try:
                wayland_window(session)
            except Exception as error:
                raise Failure("%s; program log: %s" % (error, session.program_log()[-400:])) from error
        print("PASS wayland_window (%.1f s)" % (time.monotonic() - started), flush=True)
        return 0
    except Exception as error:
        print("FAIL wayland_window: %s" % error, flush=True)
        return 1


if __name__ == "__main__":
    sys.exit(main())
