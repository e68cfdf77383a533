#!/usr/bin/env python3
"""The real program through the real AT-SPI bridge, read and driven by a pyatspi client.

Usage: atspi_cases.py PROGRAM CASE   (the Debian python3, which has pyatspi)
One case per process: libatspi keeps the first bus it found for good.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_session import AtspiSession  # noqa: E402
from x_session import Failure, run, wait_for  # noqa: E402


def expect(condition, message):
    if not condition:
        raise Failure(message)


def client():
    """A client on the session's buses; pyatspi may be imported only now."""
    from atspi_client import Client
    return Client()


def write_words(s, name, words):
    path = os.path.join(s.tmp, name)
    with open(path, "wb") as f:
        f.write("".join(w + "\r\n" for w in words).encode("cp1251"))
    return path


def answer_file_dialog(s, path):
    dialog = wait_for("the file dialog", lambda: [w for w, t in s.windows() if t not in ("Quorvane", "")])[0]
    wait_for("the file dialog to take the focus", lambda: s.focused() == int(dialog))
    s.key("ctrl+a")
    s.xdotool("type", "--delay", 5, path)
    s.key("Return")


def dismiss(s, c, title):
    s.wait_dialog(title)
    s.key("Return")
    s.wait_no_dialog(title)
    c.pump(0.2)


def names(node):
    return [node.getChildAtIndex(i).name for i in range(node.childCount)]


def tree(s):
    """A frame, every field named, labels linked, and nothing showing outside the window."""
    import pyatspi
    s.start()
    c = client()
    window = c.window()
    expect(window.getRole() == pyatspi.ROLE_FRAME, "the window is a %s" % window.getRoleName())
    expect(window.name == "Quorvane", "the window is called «%s»" % window.name)
    from atspi_client import states, walk
    frame = window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    texts = []
    for node in walk(window):
        if node.getRole() == pyatspi.ROLE_TEXT:
            texts.append(node.name)
        if pyatspi.STATE_SHOWING in states(node):
            box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            inside = (box.x >= frame.x and box.y >= frame.y and box.x + box.width <= frame.x + frame.width
                      and box.y + box.height <= frame.y + frame.height)
            expect(inside, "%s «%s» shows outside the window" % (node.getRoleName(), node.name))
    expect(texts == ["Буквы в слове:"], "text fields %s" % texts)
    expect(c.find(pyatspi.ROLE_PROGRESS_BAR, "Ход выполнения"), "the progress bar has no name")
    words = c.find(pyatspi.ROLE_TABLE, "Словарь:")
    targets = [r.getTarget(0).name for r in words.getRelationSet()
               if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
    expect(targets == ["Словарь:"], "the dictionary list is labelled by %s" % targets)


def actions_answer_at_once(s):
    """A press that opens a modal box or dialog answers first; the box opens after."""
    import pyatspi
    s.start()
    c = client()
    c.act(c.find(pyatspi.ROLE_PUSH_BUTTON, "Импорт слов"))
    dialog = wait_for("the open dialog", lambda: [w for w, t in s.windows() if t not in ("Quorvane", "")])[0]
    wait_for("the open dialog to take the focus", lambda: s.focused() == int(dialog))
    s.key("Escape")
    wait_for("the open dialog to close", lambda: s.dialog(s.title(dialog)) is None)
    c.act(c.find(pyatspi.ROLE_PUSH_BUTTON, "Сохранить"))  # nothing found yet: an error box
    dismiss(s, c, "Ошибка")
    c.act(c.find(pyatspi.ROLE_PUSH_BUTTON, "Свернуть"))
    wait_for("the window to be minimised", lambda: not s.is_viewable(s.window))


def import_search_save_by_actions(s):
    """The three operations by actions alone; rows, values and focus reach the client."""
    import pyatspi
    words = ["слово%d" % i for i in range(3000)] + ["кот", "ток", "кто", "окно"]
    dictionary = write_words(s, "words", words)
    saved = os.path.join(s.tmp, "found")
    s.start()
    c = client()
    c.listen("object:children-changed", "object:property-change:accessible-value", "object:state-changed",
             "focus:")
    c.act(c.find(pyatspi.ROLE_PUSH_BUTTON, "Импорт слов"))
    answer_file_dialog(s, dictionary)
    dismiss(s, c, "Завершено")
    listed = c.find(pyatspi.ROLE_TABLE, "Словарь:")
    expect(listed.childCount == len(words), "%d rows listed" % listed.childCount)
    for row in (0, 1234, len(words) - 1):
        expect(listed.getChildAtIndex(row).name == words[row], "row %d reads «%s»" % (row, listed.getChildAtIndex(row).name))
    added = c.wait_heard("rows added to the dictionary list", lambda e: e[0] == "object:children-changed:add"
                         and e[1] == (pyatspi.ROLE_TABLE, "Словарь:"))
    expect(added[-1][4].name == words[-1], "the last row told is «%s»" % added[-1][4].name)
    c.wait_heard("the progress value", lambda e: e[0] == "object:property-change:accessible-value"
                 and e[1] == (pyatspi.ROLE_PROGRESS_BAR, "Ход выполнения"))

    letters = c.find(pyatspi.ROLE_TEXT, "Буквы в слове:")
    letters.queryEditableText().insertText(0, "кот", len("кот"))
    shown = letters.queryText().getText(0, -1)
    expect(shown == "кот", "the letters read «%s»" % shown)
    c.act(c.find(pyatspi.ROLE_PUSH_BUTTON, "Начать поиск"))
    dismiss(s, c, "Завершено")
    found = c.find(pyatspi.ROLE_TABLE, "Подходящие слова:")
    expect(names(found) == ["кот", "ток", "кто"], "found %s" % names(found))

    c.act(c.find(pyatspi.ROLE_PUSH_BUTTON, "Сохранить"))
    answer_file_dialog(s, saved)
    dismiss(s, c, "Сохранение")
    with open(saved + ".txt", "rb") as f:
        content = f.read().decode("cp1251")
    expect(content == "кот\r\nток\r\nкто\r\n", "saved %r" % content)

    c.act(found.getChildAtIndex(1), "SetFocus")
    c.wait_heard("the focus on «ток»", lambda e: e[0] == "focus:" and e[1] == (pyatspi.ROLE_TABLE_CELL, "ток"))
    s.key("Down")
    c.wait_heard("the focus on «кто»", lambda e: e[0] == "focus:" and e[1] == (pyatspi.ROLE_TABLE_CELL, "кто"))
    c.wait_heard("«ток» unselected", lambda e: e[0] == "object:state-changed:selected" and e[2] == 0
                 and e[1] == (pyatspi.ROLE_TABLE_CELL, "ток"))

    # A new search empties the found words first; the reader is told.
    letters.queryEditableText().setTextContents("окно")
    c.act(c.find(pyatspi.ROLE_PUSH_BUTTON, "Начать поиск"))
    dismiss(s, c, "Завершено")
    c.wait_heard("the found words removed", lambda e: e[0] == "object:children-changed:remove"
                 and e[1] == (pyatspi.ROLE_TABLE, "Подходящие слова:"))
    expect(names(found) == ["окно"], "found %s" % names(found))


def large_import_few_signals(s):
    """With a client hearing every event, a large import sends its rows in a few signals; its size is one call."""
    import pyatspi
    rows = 200000
    dictionary = write_words(s, "words", ["слово%d" % i for i in range(rows)])
    s.start()
    c = client()
    c.listen("object:", "window:", "focus:")
    c.act(c.find(pyatspi.ROLE_PUSH_BUTTON, "Импорт слов"))
    answer_file_dialog(s, dictionary)
    while not s.dialog("Завершено"):  # keep up with the events, as a screen reader does
        c.pump(0.1)
    dismiss(s, c, "Завершено")
    listed = c.find(pyatspi.ROLE_TABLE, "Словарь:")
    expect(listed.childCount == rows, "%d rows listed" % listed.childCount)
    expect(listed.getChildAtIndex(rows - 1).name == "слово%d" % (rows - 1), "the last row misread")
    # A reader asks a table for its size at once; a list it would walk row by row.
    table = listed.queryTable()
    expect((table.nRows, table.nColumns) == (rows, 1), "a table of %d rows, %d columns" % (table.nRows, table.nColumns))
    changes = [e for e in c.heard if e[0].startswith("object:children-changed") and e[1][1] == "Словарь:"]
    expect(0 < len(changes) <= 100, "%d children-changed signals for the list" % len(changes))


CASES = [tree, actions_answer_at_once, import_search_save_by_actions, large_import_few_signals]


if __name__ == "__main__":
    chosen = [c for c in CASES if c.__name__ in sys.argv[2:]]
    if len(chosen) != 1 or len(sys.argv) != 3:
        sys.exit("name one case of: " + ", ".join(c.__name__ for c in CASES))
    sys.exit(run(chosen, sys.argv[1], AtspiSession))
