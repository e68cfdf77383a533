#!/usr/bin/env python3
"""The real program under Xvfb and openbox (one case under xfwm4), driven by real X events.

Usage: window_cases.py PROGRAM [CASE ...]   (no case: all of them)
"""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from x_session import Failure, run, settles, wait_for  # noqa: E402

# Points inside the window, in pixels from its top-left corner.
CAPTION_BAR = (150, 17)
MINIMISE = (354, 18)
CLOSE = (378, 18)
LETTERS = (136, 65)
IMPORT = (72, 448)
SEARCH = (204, 448)  # on the caption of «Начать поиск»
SEARCH_FACE = (150, 436)  # on its face, above the caption
SAVE = (336, 448)
WINDOW_SIZE = (409, 497)


def expect(condition, message):
    if not condition:
        raise Failure(message)


def position(s):
    x, y, _, _ = s.settle_geometry()
    return x, y


def expect_still(s, where, message):
    """The window stays at `where` while the pointer wanders with no button held."""
    px, py = s.at(200, 200)
    for dx, dy in ((37, 23), (-51, 44), (12, -30)):
        s.pointer_to(px + dx, py + dy)
    got = position(s)
    expect(got == where, "%s: window at %s, expected %s" % (message, got, where))


def drag(s, button, delta, steps=4):
    """Presses `button` on the caption bar and moves the pointer by `delta` in `steps` motions,
    the button still held. Nothing waits for the window on the way: its travel is the test."""
    x, y = s.at(*CAPTION_BAR)
    s.pointer_to(x, y)
    s.xdotool("mousedown", button)
    for i in range(1, steps + 1):
        s.pointer_to(x + delta[0] * i // steps, y + delta[1] * i // steps)
    return x + delta[0], y + delta[1]


def near(a, b, slack):
    return abs(a[0] - b[0]) <= slack and abs(a[1] - b[1]) <= slack


def dismiss(s, title):
    s.wait_dialog(title)
    s.key("Return")
    s.wait_no_dialog(title)
    wait_for("the main window to have the focus again", lambda: s.focused() == int(s.window))


def caption_drags(s):
    """Each mouse button drags the window by exactly the pointer's travel, its first step
    included, and lets go on release; so does a drag released at once or soon after its first
    motion, and a jiggle."""
    s.start()
    for button, delta, steps in ((1, (60, 40), 10), (3, (-25, 45), 4), (2, (55, -20), 4), (1, (-70, -50), 2),
                                 (1, (45, 30), 1)):
        before = position(s)
        target = (before[0] + delta[0], before[1] + delta[1])
        drag(s, button, delta, steps)
        wait_for("the window to follow button %d" % button, lambda: s.geometry()[:2] == target)
        s.xdotool("mouseup", button)
        where = position(s)
        expect(where == target, "button %d moved the window from %s to %s, not by %s" % (button, before, where, delta))
        expect_still(s, where, "after a drag with button %d" % button)
    for delta, pause in (((7, 5), 0), ((7, 5), 0.005), ((7, 5), 0.015), ((7, 5), 0.03), ((2, 1), 0)):
        before = position(s)
        x, y = s.at(*CAPTION_BAR)
        s.pointer_to(x, y)
        s.xdotool("mousedown", 1, "mousemove", x + delta[0], y + delta[1], "sleep", pause, "mouseup", 1)
        target = (before[0] + delta[0], before[1] + delta[1])
        expect(position(s) == target, "released %g s after a %s motion: window at %s, not at %s"
               % (pause, delta, position(s), target))
        expect_still(s, target, "after a quick drag released in %g s" % pause)
    s.click_at(*SEARCH_FACE)  # the window manager's moves leave a click a click
    dismiss(s, "Ошибка")


def caption_drags_xfwm4(s):
    """The same exact travel under another window manager."""
    caption_drags(s)


caption_drags_xfwm4.window_manager = "xfwm4"


def escape_ends_drags(s):
    """Escape during a drag with any button puts the window back where it was before the press."""
    s.start()
    for button in (1, 3, 2):
        before = position(s)
        drag(s, button, (50, 35))
        wait_for("the window to follow button %d" % button,
                 lambda: s.geometry()[:2] == (before[0] + 50, before[1] + 35))
        s.xdotool("key", "Escape")  # not cleared of modifiers: that would let the button go
        wait_for("the window to go back after Escape with button %d" % button, lambda: s.geometry()[:2] == before)
        s.xdotool("mouseup", button)
        expect_still(s, before, "after Escape with button %d" % button)


def caption_click_moves_nothing(s):
    """A click on the caption bar, without motion, leaves no move running."""
    s.start()
    before = position(s)
    for button in (1, 3):
        s.click_at(*CAPTION_BAR, button=button)
        expect_still(s, before, "after a click with button %d" % button)


def drag_interrupted_by_message_box(s):
    """A message box that appears during a drag ends it: the window stays where the box found it."""
    s.start()
    s.click_at(*SEARCH)  # no letters: the search answers with an error box, and keeps the focus
    dismiss(s, "Ошибка")
    before = position(s)
    x, y = drag(s, 3, (30, 20))
    wait_for("the window to follow the drag", lambda: s.geometry()[:2] == (before[0] + 30, before[1] + 20))
    s.key("space")  # the focused search button: the error box comes up mid-drag
    s.wait_dialog("Ошибка")
    where = position(s)
    s.pointer_to(x + 60, y + 45)
    s.pointer_to(x + 80, y + 60)
    expect(position(s) == where, "the window followed the pointer behind the message box")
    s.xdotool("mouseup", 3)
    dismiss(s, "Ошибка")
    expect_still(s, where, "after the message box")


def press_lost_to_message_box(s):
    """A press whose release a message box swallowed does not spoil the next click."""
    s.start()
    s.click_at(*SEARCH)
    dismiss(s, "Ошибка")
    x, y = s.at(*SEARCH)
    s.pointer_to(x, y)
    s.xdotool("mousedown", 1)  # held on the caption
    s.key("space")
    s.wait_dialog("Ошибка")
    s.xdotool("mouseup", 1)
    dismiss(s, "Ошибка")
    s.click_at(*SEARCH_FACE)  # a fresh press, on another part of the button
    dismiss(s, "Ошибка")


def held_space_clicks_once(s):
    """Space held for two seconds under X key repeat clicks once, on the release."""
    s.start()
    s.click_at(*SEARCH)
    dismiss(s, "Ошибка")
    s.xdotool("keydown", "space")
    time.sleep(2)  # the hold itself: key repeat runs meanwhile
    expect(s.dialog("Ошибка") is None, "a click came while Space was still held")
    s.xdotool("keyup", "space")
    dismiss(s, "Ошибка")
    expect(settles(lambda: s.dialog("Ошибка"), quiet=0.6) is None, "a second click came after the release")


def top_buttons(s):
    """Minimise, then restore by the window manager; close ends the program."""
    s.start()
    s.click_at(*MINIMISE)
    wait_for("the window to be iconic", lambda: "Iconic" in s.x("xprop", "-id", s.window, "WM_STATE"))
    s.xdotool("windowactivate", s.window)
    wait_for("the window to be back", lambda: "Normal" in s.x("xprop", "-id", s.window, "WM_STATE")
             and s.is_viewable(s.window))
    expect(s.settle_geometry()[2:] == WINDOW_SIZE, "restored with another size")
    s.click_at(*CLOSE)
    expect(s.wait_exit() == 0, "the program ended with status %s" % s.app.returncode)


def fixed_size(s):
    """The window tells the window manager its one size, and keeps it when asked for another."""
    s.start()
    hints = s.x("xprop", "-id", s.window, "WM_NORMAL_HINTS")
    for line in ("minimum size: %d by %d" % WINDOW_SIZE, "maximum size: %d by %d" % WINDOW_SIZE):
        expect(line in hints, "size hints lack %r:\n%s" % (line, hints))
    s.xdotool("windowsize", s.window, 700, 650)
    expect(s.settle_geometry()[2:] == WINDOW_SIZE, "the window took another size")


def import_search_save(s):
    """One import, search and save through Qt's own dialogs, with Cyrillic letters."""
    dictionary = os.path.join(s.tmp, "words")  # no extension: listed under «Все файлы»
    with open(dictionary, "wb") as f:
        f.write("кот\r\nток\r\nсобака\r\nокно\r\nКТО\r\n".encode("cp1251"))
    saved = os.path.join(s.tmp, "found")
    s.start()

    def file_dialog(path):
        dialog = wait_for("the file dialog", lambda: [w for w, t in s.windows() if t not in
                                                      ("Quorvane", "")])[0]
        wait_for("the file dialog to take the focus", lambda: s.focused() == int(dialog))
        s.key("ctrl+a")
        s.xdotool("type", "--delay", 5, path)
        s.key("Return")
        wait_for("the file dialog to close", lambda: s.dialog(s.title(dialog)) is None)

    s.click_at(*IMPORT)
    file_dialog(dictionary)
    dismiss(s, "Завершено")
    s.click_at(*LETTERS)
    s.type_text("ток")
    s.key("ctrl+a")
    s.key("ctrl+c")  # the letters box read back through the clipboard
    wait_for("the letters box to read «ток»", lambda: s.clipboard() == "ток")
    s.click_at(*SEARCH)
    dismiss(s, "Завершено")
    s.click_at(*SAVE)
    file_dialog(saved)
    dismiss(s, "Сохранение")
    with open(saved + ".txt", "rb") as f:
        content = f.read().decode("cp1251")
    expect(content == "кот\r\nток\r\nКТО\r\n", "saved %r" % content)


def long_lines(path, count, megabytes, first=b""):
    """A dictionary of `count` lines of `megabytes` each (read at some 100 MB/s), after `first`."""
    line = b"\xe0" * (megabytes << 20)
    with open(path, "wb") as f:
        f.write(first + b"\r\n".join([line] * count))


def import_file(s, path):
    s.click_at(*IMPORT)
    dialog = wait_for("the file dialog", lambda: [w for w, t in s.windows() if t not in ("Quorvane", "")])[0]
    wait_for("the file dialog to take the focus", lambda: s.focused() == int(dialog))
    s.key("ctrl+a")
    s.xdotool("type", "--delay", 5, path)
    s.key("Return")
    wait_for("the file dialog to close", lambda: s.dialog(s.title(dialog)) is None)
    wait_for("the import button to have the focus", lambda: s.focused() == int(s.window))


CANCEL_TITLE = "Операция прервана пользователем"


def expect_no_dictionary(s):
    """The list l is empty: a search with letters asks for a dictionary."""
    s.click_at(*LETTERS)
    s.type_text("ток")
    s.click_at(*SEARCH)
    expect(s.wait_dialog("Ошибка") and s.dialog("Завершено") is None, "the search ran over a listed dictionary")
    dismiss(s, "Ошибка")


def space_cancel_in_long_line(s):
    """Space during a long line asks to cancel only between lines: «Нет» then leaves no row."""
    path = os.path.join(s.tmp, "long")
    # Read in some 25 ms each, so Space mostly lands inside a line; enough of them that it
    # cannot land in the last line's pass, after which a cancel ends in the normal finish.
    long_lines(path, 40, 8)
    s.start()
    import_file(s, path)
    time.sleep(0.2)
    s.key("space")
    s.wait_dialog(CANCEL_TITLE)
    s.key("Tab")  # from «Да» to «Нет»
    s.key("space")
    s.wait_no_dialog(CANCEL_TITLE)
    expect(settles(lambda: s.dialog("Завершено"), quiet=1.0) is None, "the import went on after «Нет»")
    expect_no_dictionary(s)


def space_just_before_the_end(s):
    """Space released while the last line is read asks to cancel before the end, as a click
    would, and nothing comes over «Завершено»."""
    path = os.path.join(s.tmp, "last_long")
    long_lines(path, 1, 240, first=b"\xea\xee\xf2\r\n")  # «кот», then the long line
    s.start()
    import_file(s, path)
    time.sleep(0.1)
    s.key("space")
    s.wait_dialog(CANCEL_TITLE)
    s.key("Escape")  # go on
    s.wait_dialog("Завершено")
    expect(settles(lambda: s.dialog(CANCEL_TITLE), quiet=0.6) is None, "a cancel question came over «Завершено»")
    dismiss(s, "Завершено")
    expect(settles(lambda: s.dialog(CANCEL_TITLE), quiet=0.6) is None, "a cancel question came after «Завершено»")


def space_held_across_the_end(s):
    """Space held on «Отмена» through the end of an import neither closes «Завершено» nor,
    released, starts anything."""
    path = os.path.join(s.tmp, "long")
    long_lines(path, 4, 30)
    s.start()
    import_file(s, path)
    s.xdotool("keydown", "space")
    s.wait_dialog("Завершено")
    time.sleep(1.0)  # key repeat runs into the box
    s.xdotool("keyup", "space")
    expect(settles(lambda: [t for _, t in s.windows()], quiet=1.0) == ["Quorvane", "Завершено"],
           "after the release: windows %s" % s.windows())
    dismiss(s, "Завершено")


CASES = [caption_drags, caption_drags_xfwm4, escape_ends_drags, caption_click_moves_nothing, drag_interrupted_by_message_box, press_lost_to_message_box,
         held_space_clicks_once, top_buttons, fixed_size, import_search_save, space_cancel_in_long_line,
         space_just_before_the_end, space_held_across_the_end]


if __name__ == "__main__":
    names = sys.argv[2:]
    unknown = set(names) - {c.__name__ for c in CASES}
    if unknown:
        sys.exit("unknown case: " + ", ".join(sorted(unknown)))
    sys.exit(run([c for c in CASES if not names or c.__name__ in names], sys.argv[1]))
