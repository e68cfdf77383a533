#!/usr/bin/env python3
"""Orca hears the real program on Xvfb: a dictionary is imported, then Tab goes onto the list «Словарь:»
and the arrow keys read it. Prints, for each key, the time from the key to Orca's first utterance and
what Orca says; a key it stays silent on for CAP seconds (default 300) ends the run.

Orca runs on the session's own AT-SPI bus with its speech written to a file instead of a synthesiser.
Usage (the Debian python3, with Debian's orca installed):
  /usr/bin/python3 bench/orca_tab_bench.py build/quorvane [samples/ru_full_forms.txt]
"""

import json
import os
import subprocess
import sys
import time

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, os.pardir, "tests", "a11y"))
from a11y_import_bench import IMPORT, open_file  # noqa: E402
from atspi_session import AtspiSession  # noqa: E402
from x_session import spawn, wait_for  # noqa: E402

LETTERS = (100, 65)  # the letters field, in pixels from the window's top-left corner
KEYS = [("Tab", "Точно"), ("Tab", "Словарь"), ("Down", None), ("Down", None), ("End", None), ("Up", None),
        ("shift+Tab", None), ("Tab", "Словарь"), ("Down", None)]
CAP = float(os.environ.get("CAP", "300"))


def run_orca(speech_file, prefs):
    """Orca itself, each utterance written as a line [time, text]; no other Orca is asked to leave."""
    sys.argv = ["orca"]
    from orca import speech
    out = open(speech_file, "a")
    spoken = speech._speak

    def _speak(text, acss, interrupt):
        out.write(json.dumps([time.time(), text], ensure_ascii=False) + "\n")
        out.flush()
        spoken(text, acss, interrupt)

    speech._speak = _speak
    speech.init = lambda: None
    from orca import orca
    manager = orca.getSettingsManager()
    manager.activate(prefs, {})
    sys.path.insert(0, manager.getPrefsDir())
    return orca.main()


class Orca:
    def __init__(self, s):
        self.file = os.path.join(s.tmp, "speech.jsonl")
        prefs = os.path.join(s.tmp, "orca-prefs")
        os.makedirs(prefs, exist_ok=True)
        env = dict(s.env, AT_SPI_BUS_ADDRESS=s.a11y_address, GSETTINGS_BACKEND="memory")
        with open(os.path.join(s.tmp, "orca.log"), "w") as log:
            s.procs.append(spawn([sys.executable, __file__, "--orca", self.file, prefs], env=env, stdout=log,
                                 stderr=subprocess.STDOUT))
        wait_for("Orca to speak", self.heard, timeout=60)

    def heard(self, since=0.0):
        if not os.path.exists(self.file):
            return []
        with open(self.file) as f:
            return [u for u in map(json.loads, f) if u[0] >= since]

    def quiet(self, seconds=1.5):
        while time.time() - self.heard()[-1][0] < seconds:
            time.sleep(0.1)

    def after_key(self, s, key, expect):
        """Seconds from the key to the first utterance (containing `expect`), and all it said; None if silent."""
        started = time.time()
        s.key(key)
        while time.time() - started < CAP:
            said = [u for u in self.heard(started) if expect is None or expect in u[1]]
            if said:
                time.sleep(0.5)
                return said[0][0] - started, [text for _, text in self.heard(started)]
            time.sleep(0.05)
        return None, [text for _, text in self.heard(started)]


def main():
    program = os.path.abspath(sys.argv[1])
    dictionary = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else
                                 os.path.join(here, os.pardir, "samples", "ru_full_forms.txt"))
    s = AtspiSession(program)
    try:
        s.start()
        orca = Orca(s)
        orca.quiet()
        s.click_at(*IMPORT)
        open_file(s, dictionary)
        s.key("Return")
        s.wait_dialog("Завершено")
        orca.quiet()
        s.key("Return")
        s.wait_no_dialog("Завершено")
        s.click_at(*LETTERS)
        orca.quiet()
        for key, expect in KEYS:
            took, said = orca.after_key(s, key, expect)
            if took is None:
                print("%-9s silent for %d s  %s" % (key, CAP, " | ".join(said)), flush=True)
                return
            print("%-9s %6.2f s  %s" % (key, took, " | ".join(said)), flush=True)
            orca.quiet()
    finally:
        s.close()


if __name__ == "__main__":
    if sys.argv[1] == "--orca":
        sys.exit(run_orca(sys.argv[2], sys.argv[3]))
    main()
