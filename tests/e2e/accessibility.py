"""Reading the program as a screen reader reads it: the AT-SPI accessibility tree.

The program publishes its tree on the accessibility bus of the session it runs in; the tests run
in a private D-Bus session of their own (see harness.main), so they only ever see their program.
Needs the GObject introspection data of AT-SPI (Debian: python3-gi, gir1.2-atspi-2.0).
"""
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

# Roles whose children are the pieces of one control, not controls of their own: a scroll area's
# frames and bars, a combo box's editor and pop-up list, a list's rows.
COMPOSITE_ROLES = {"combo box", "list", "text", "label", "page tab list"}


def _app_of(pid):
    desktop = Atspi.get_desktop(0)
    # The client learns of new programs from events, which nothing dispatches here: ask afresh.
    desktop.set_cache_mask(Atspi.Cache.NONE)
    desktop.clear_cache()
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        try:
            if app is not None and app.get_process_id() == pid:
                # The tree changes under the tests' hands: read everything afresh.
                app.set_cache_mask(Atspi.Cache.NONE)
                return app
        except gi.repository.GLib.Error:
            continue
    return None


class Node:
    """One accessible object, read afresh on every access."""

    def __init__(self, accessible):
        self.accessible = accessible

    @property
    def role(self):
        return self.accessible.get_role_name()

    @property
    def name(self):
        return self.accessible.get_name() or ""

    @property
    def description(self):
        return self.accessible.get_description() or ""

    def has(self, state):
        return self.accessible.get_state_set().contains(state)

    @property
    def showing(self):
        return self.has(Atspi.StateType.SHOWING)

    @property
    def focused(self):
        return self.has(Atspi.StateType.FOCUSED)

    @property
    def focusable(self):
        return self.has(Atspi.StateType.FOCUSABLE)

    def children(self):
        count = self.accessible.get_child_count()
        return [Node(child) for child in (self.accessible.get_child_at_index(i) for i in range(count)) if child]

    def child_count(self):
        return self.accessible.get_child_count()

    def child(self, i):
        return Node(self.accessible.get_child_at_index(i))

    @property
    def text(self):
        """The text the control shows: its text content, or its name for a control without one."""
        if self.accessible.get_text_iface() is not None:
            return self.accessible.get_text(0, -1) or ""
        return self.name

    def extents(self):
        """(x, y, width, height) on the screen."""
        rect = self.accessible.get_extents(Atspi.CoordType.SCREEN)
        return rect.x, rect.y, rect.width, rect.height

    def centre(self):
        x, y, width, height = self.extents()
        return x + width // 2, y + height // 2

    def walk(self, showing_only=True, into_composites=False):
        """This node's descendants, depth first, in the order the tree gives them."""
        for child in self.children():
            if showing_only and not child.showing:
                continue
            yield child
            if into_composites or child.role not in COMPOSITE_ROLES:
                yield from child.walk(showing_only, into_composites)

    def find(self, role, name=None, showing_only=True):
        for node in self.walk(showing_only):
            if node.role == role and (name is None or node.name == name):
                return node
        return None

    def find_all(self, role, name=None, showing_only=True):
        return [node for node in self.walk(showing_only) if node.role == role and (name is None or node.name == name)]

    def focused_descendant(self):
        """The control that has the keyboard focus: the outermost focused node (a list rather
        than its row, a combo box rather than its editor)."""
        for node in self.walk():
            if node.focused:
                return node
            if node.role == "combo box":
                for part in node.children():
                    if part.focused:
                        return node
        return None

    def rows(self):
        """The texts of a list's rows."""
        return [self.child(i).name for i in range(self.child_count())]

    def __repr__(self):
        return f"<{self.role} {self.name!r}>"


class Tree:
    """The accessibility tree of one process."""

    def __init__(self, pid, timeout=10.0):
        deadline = time.monotonic() + timeout
        self.app = None
        while time.monotonic() < deadline:
            self.app = _app_of(pid)
            if self.app is not None:
                break
            time.sleep(0.1)
        if self.app is None:
            desktop = Atspi.get_desktop(0)
            seen = []
            for i in range(desktop.get_child_count()):
                app = desktop.get_child_at_index(i)
                try:
                    seen.append((app.get_name(), app.get_process_id()) if app else None)
                except Exception as error:  # noqa: BLE001 - only to describe the failure
                    seen.append(repr(error))
            raise AssertionError(f"process {pid} publishes no accessibility tree; there are {seen}")

    def windows(self):
        return [Node(self.app.get_child_at_index(i)) for i in range(self.app.get_child_count())]

    def window(self, name, timeout=10.0, roles=("frame",)):
        """The showing top-level window with that accessible name and one of those roles."""
        deadline = time.monotonic() + timeout
        while True:
            for window in self.windows():
                try:
                    if window.name == name and window.role in roles and window.showing:
                        return window
                except gi.repository.GLib.Error:
                    continue
            if time.monotonic() > deadline:
                raise AssertionError(f"no window {name!r}; there are {[w.name for w in self.windows()]}")
            time.sleep(0.05)
