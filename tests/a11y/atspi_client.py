"""A pyatspi client of the program: finds its nodes, presses them, and records the events it hears.

Import it only once an AtspiSession is up: pyatspi finds its bus through the environment."""

import time

import pyatspi
from gi.repository import GLib

from x_session import TIMEOUT, Failure, wait_for

ACTION_TIMEOUT = 1.0  # an action that starts a press must answer at once


def walk(node, skip_rows=True):
    """The node and everything under it; rows of list boxes only when asked for."""
    yield node
    if skip_rows and node.getRole() == pyatspi.ROLE_TABLE:
        return
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, skip_rows)


def states(node):
    return set(node.getState().getStates())


class Client:
    def __init__(self):
        self.heard = []
        self._listening = []

    def application(self, name="Quorvane"):
        def found():
            desktop = pyatspi.Registry.getDesktop(0)
            for i in range(desktop.childCount):
                app = desktop.getChildAtIndex(i)
                if app is not None and app.name == name and app.childCount:
                    return app
            return None
        return wait_for("the program on the AT-SPI bus", found)

    def window(self):
        return self.application().getChildAtIndex(0)

    def find(self, role, name):
        for node in walk(self.window()):
            if node.getRole() == role and node.name == name:
                return node
        raise Failure("no %s «%s» in the tree" % (role, name))

    def act(self, node, action="Press"):
        """Runs a named action; fails unless it answers, successfully, within ACTION_TIMEOUT."""
        actions = node.queryAction()
        names = [actions.getName(i) for i in range(actions.nActions)]
        if action not in names:
            raise Failure("«%s» offers %s, not %s" % (node.name, names, action))
        started = time.monotonic()
        done = actions.doAction(names.index(action))
        took = time.monotonic() - started
        if not done or took > ACTION_TIMEOUT:
            raise Failure("%s on «%s» answered %s after %.1f s" % (action, node.name, done, took))
        return took

    # -- events -----------------------------------------------------------------------------------

    def listen(self, *types):
        for kind in types:
            pyatspi.Registry.registerEventListener(self._record, kind)
            self._listening.append(kind)
        self.pump(0.3)  # the registry tells the program; give the word time to arrive

    def _record(self, event):
        try:
            source = (event.source.getRole(), event.source.name)
        except Exception:  # a row gone by the time its event is read
            source = (None, None)
        self.heard.append((event.type, source, event.detail1, event.detail2, event.any_data))

    def pump(self, seconds):
        context = GLib.MainContext.default()
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            while context.iteration(False):
                pass
            time.sleep(0.01)

    def wait_heard(self, what, predicate, timeout=TIMEOUT):
        def probe():
            self.pump(0.05)
            return [e for e in self.heard if predicate(e)]
        return wait_for(what, probe, timeout)

    def stop(self):
        for kind in self._listening:
            pyatspi.Registry.deregisterEventListener(self._record, kind)
        self._listening = []
