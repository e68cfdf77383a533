#!/usr/bin/env python3
"""Imports a dictionary in the real program on Xvfb, with and without an AT-SPI client listening.

Each run is a process of its own (libatspi keeps its first bus for good) with a fresh X
session, session bus and AT-SPI bus. The program's bridge is on in the
first two runs; the client of the second listens for every object, window and focus event and
keeps up with them, as a screen reader does. The last run has the bridge off, for scale.
Prints the import time (Return in the open dialog to the completion message), the program's
peak memory, the AT-SPI bus daemon's and the client's memory growth, and the time of one call
into the program afterwards. Figures only; it passes or fails nothing.

Usage (the Debian python3, which has pyatspi):
  /usr/bin/python3 bench/a11y_import_bench.py build-dev/quorvane [samples/ru_full_forms.txt]
"""

import json
import os
import subprocess
import sys
import time

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, os.pardir, "tests", "a11y"))
from atspi_session import AtspiSession  # noqa: E402
from x_session import wait_for  # noqa: E402

IMPORT = (72, 448)  # the import button, in pixels from the window's top-left corner
DONE = "Завершено"


def memory(pid, key):
    """A /proc/PID/status figure (VmRSS, VmHWM) in MiB."""
    with open("/proc/%s/status" % pid) as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1]) / 1024.0
    return 0.0


def open_file(s, path):
    dialog = wait_for("the open dialog", lambda: [w for w, t in s.windows() if t not in ("Quorvane", "")])[0]
    wait_for("the open dialog to take the focus", lambda: s.focused() == int(dialog))
    s.key("ctrl+a")
    s.xdotool("type", "--delay", 5, path)


def run(program, dictionary, bridge, listen):
    s = AtspiSession(program)
    try:
        if not bridge:
            del s.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"]
        s.start()
        client = counter = None
        if listen:
            from atspi_client import Client
            client = Client()
            client.application()
            counter = {"events": 0}
            client._record = lambda event: counter.__setitem__("events", counter["events"] + 1)
            client.listen("object:", "window:", "focus:")
        bus = s.bus_daemon_pid()
        bus_before, client_before = memory(bus, "VmRSS"), memory("self", "VmRSS")
        s.click_at(*IMPORT)
        open_file(s, dictionary)
        s.key("Return")
        started = time.monotonic()
        last_look = 0.0
        while True:
            if client:
                client.pump(0.02)
            else:
                time.sleep(0.02)
            if time.monotonic() - last_look >= 0.03:
                last_look = time.monotonic()
                if s.dialog(DONE):
                    break
        took = time.monotonic() - started
        if client:
            client.pump(1.0)  # what is still queued for the client
        figures = {
            "import s": took,
            "program peak MiB": memory(s.app.pid, "VmHWM"),
            "bus daemon growth MiB": memory(bus, "VmRSS") - bus_before,
            "bus daemon peak MiB": memory(bus, "VmHWM"),
        }
        if client:
            figures["client growth MiB"] = memory("self", "VmRSS") - client_before
            figures["events heard"] = counter["events"]
            client.stop()
        if bridge:
            from atspi_client import Client
            import pyatspi
            client = client or Client()
            started = time.monotonic()
            count = client.find(pyatspi.ROLE_TABLE, "Словарь:").childCount
            figures["one lookup afterwards s"] = time.monotonic() - started
            figures["rows"] = count
        return figures
    finally:
        s.close()


MODES = {"bridge on, no client": (True, False),
         "bridge on, client hears every event": (True, True),
         "bridge off": (False, False)}


def main():
    if sys.argv[1] == "--one":
        print(json.dumps(run(sys.argv[2], sys.argv[3], *MODES[sys.argv[4]])))
        return
    program = os.path.abspath(sys.argv[1])
    dictionary = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else
                                 os.path.join(here, os.pardir, "samples", "ru_full_forms.txt"))
    print("dictionary %s (%d bytes)" % (dictionary, os.path.getsize(dictionary)))
    results = {}
    for mode in MODES:
        done = subprocess.run([sys.executable, __file__, "--one", program, dictionary, mode],
                              capture_output=True, text=True)
        if done.returncode != 0:
            sys.exit("%s failed:\n%s" % (mode, done.stderr[-2000:]))
        figures = results[mode] = json.loads(done.stdout.strip().splitlines()[-1])
        print("%-36s " % mode + "  ".join("%s %.2f" % (k, v) if isinstance(v, float) else "%s %d" % (k, v)
                                          for k, v in figures.items()), flush=True)
    print("import with the client / without: %.2f" % (results["bridge on, client hears every event"]["import s"]
                                                     / results["bridge on, no client"]["import s"]))


if __name__ == "__main__":
    main()
