"""End-to-end harness: runs the real program on its own X server and drives it as a person would,
with xdotool for keys and windows and ImageMagick's import for screenshots.

Each test gets a fresh Xvfb display and a fresh runtime folder (so the single-instance lock of one
test never meets another's), and every process it starts is ended when the test ends.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

ARTEFACTS = os.environ.get("KORVELAN_E2E_ARTEFACTS", os.path.join(tempfile.gettempdir(), "korvelan-e2e"))


class Display:
    """An Xvfb server on a free display number."""

    def __init__(self, width=1920, height=1080):
        read_end, write_end = os.pipe()
        # -noreset: by default the server resets when its last client leaves, and a program started
        # during that reset cannot connect; a test that ends one program and starts another would fail
        # now and then.
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp",
             "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            self.process.kill()
            raise RuntimeError("Xvfb did not start")
        self.name = ":" + number

    def stop(self):
        self.process.terminate()
        try:
            self.process.wait(5)
        except subprocess.TimeoutExpired:
            self.process.kill()


class ProgramTestCase(unittest.TestCase):
    """Starts programs on a display of its own; `executable` comes from the command line."""

    executable = None
    # Whether the program publishes its accessibility tree (read through accessibility.Tree).
    accessible = False
    screen = (1920, 1080)
    scale = None

    def setUp(self):
        self.display = Display(*self.screen)
        self.runtime = tempfile.mkdtemp(prefix="korvelan-runtime-")
        os.chmod(self.runtime, 0o700)
        self.processes = []
        self.logs = {}

    def tearDown(self):
        for process in self.processes:
            if process.poll() is None:
                process.kill()
                process.wait()
        self.display.stop()
        shutil.rmtree(self.runtime, ignore_errors=True)

    def env(self):
        env = dict(os.environ, DISPLAY=self.display.name, XDG_RUNTIME_DIR=self.runtime)
        env.pop("QT_QPA_PLATFORM", None)  # a real X server here, not the offscreen platform
        for variable in ("QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR",
                         "QT_ENABLE_HIGHDPI_SCALING"):
            env.pop(variable, None)
        if self.scale is not None:
            env["QT_SCALE_FACTOR"] = str(self.scale)
        if self.accessible:
            env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
            env["QT_ACCESSIBILITY"] = "1"
        return env

    def start_program(self, closed=(), folder=None):
        """Starts the program the way the README does: from the folder that holds it, or from
        `folder`; with the standard descriptors in `closed` closed, as a shell's `2>&-` leaves them."""
        # What the program prints goes to a file among the artefacts: a pipe that nobody reads
        # would stop the program once full.
        os.makedirs(ARTEFACTS, exist_ok=True)
        log = os.path.join(ARTEFACTS, f"{self.id().split('.')[-1]}-program-{len(self.processes) + 1}.log")
        with open(log, "wb") as output:
            process = subprocess.Popen([self.executable], cwd=folder or os.path.dirname(self.executable), env=self.env(),
                                       stdin=subprocess.DEVNULL, stdout=output, stderr=subprocess.STDOUT,
                                       preexec_fn=(lambda: [os.close(fd) for fd in closed]) if closed else None)
        self.processes.append(process)
        self.logs[process.pid] = log
        return process

    def program_log(self, process):
        """What a program started by start_program wrote on its standard output and error."""
        return self.logs[process.pid]

    def xdotool(self, *args, check=True):
        result = subprocess.run(["xdotool", *args], env=self.env(), capture_output=True, text=True)
        if check and result.returncode != 0:
            raise RuntimeError(f"xdotool {' '.join(args)}: {result.stderr.strip()}")
        return result.stdout.strip()

    def windows(self, name=None, pid=None):
        """Visible windows, optionally with exactly that title and of that process."""
        # xdotool reports a window that meets any one of its conditions unless told --all: the
        # process and the title must both match. An empty pattern matches every title, even none.
        args = ["search", "--all", "--onlyvisible"]
        if pid is not None:
            args += ["--pid", str(pid)]
        args += ["--name", f"^{name}$" if name is not None else ("" if pid is not None else ".")]
        output = self.xdotool(*args, check=False)
        found = [line for line in output.splitlines() if line]
        if name is not None:
            # xdotool also matches a window whose WM_NAME is empty, as the frameless splash window's
            # is: the title is checked again here.
            found = [window for window in found if self.window_name(window) == name]
        return found

    def wait_until(self, condition, message, timeout=5.0, interval=0.05):
        """Polls until condition() gives something true and returns it; fails with a screenshot."""
        deadline = time.monotonic() + timeout
        while True:
            value = condition()
            if value:
                return value
            if time.monotonic() > deadline:
                path = self.screenshot("failure")
                self.fail(f"{message} (after {timeout} s; screen in {path})")
            time.sleep(interval)

    def wait_for_window(self, name, pid=None, timeout=10.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            found = self.windows(name, pid)
            if found:
                return found[0]
            time.sleep(0.05)
        self.screenshot(f"missing-{name or 'window'}")
        self.fail(f"no window titled {name!r} within {timeout} s")

    def press(self, window, key):
        self.xdotool("windowfocus", "--sync", window)
        self.xdotool("key", "--window", window, key, check=False)
        self.xdotool("key", key)

    def window_geometry(self, window):
        """(x, y, width, height) of an X window."""
        output = self.xdotool("getwindowgeometry", "--shell", window)
        values = dict(line.split("=", 1) for line in output.splitlines() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def window_name(self, window):
        return self.xdotool("getwindowname", window, check=False)

    def click(self, x, y):
        # No --sync: it waits for a motion event, and there is none when the pointer is already there.
        self.xdotool("mousemove", str(x), str(y), "click", "1")

    def click_node(self, node):
        self.click(*node.centre())

    def keys(self, *keys):
        """Keys pressed on the keyboard, going to the window that has the focus."""
        self.xdotool("key", "--delay", "30", *keys)

    def type_text(self, text):
        self.xdotool("type", "--delay", "40", text)

    def screenshot(self, label):
        """Keeps a picture of the whole screen as a test artefact; returns its path."""
        os.makedirs(ARTEFACTS, exist_ok=True)
        path = os.path.join(ARTEFACTS, f"{self.id().split('.')[-1]}-{label}.png")
        subprocess.run(["import", "-window", "root", path], env=self.env(), capture_output=True)
        return path


def colours_in(picture, x, y, width, height):
    """How many distinct colours a region of a picture holds: 1 for an empty, uniform area."""
    result = subprocess.run(["convert", picture, "-crop", f"{width}x{height}+{x}+{y}", "+repage", "-format", "%k",
                             "info:"], capture_output=True, text=True, check=True)
    return int(result.stdout.strip())


def different_pixels(picture, x, y, reference, fuzz="3%", slack=0):
    """How many pixels of the region of `picture` at (x, y) differ from the picture `reference` laid
    there; with `slack`, at the best place within that many pixels of (x, y)."""
    width, height = (int(value) for value in _size(reference).split("x"))
    region = f"{width + 2 * slack}x{height + 2 * slack}+{x - slack}+{y - slack}"
    crop = subprocess.run(["convert", picture, "-crop", region, "+repage", "png:-"],
                          capture_output=True, check=True).stdout
    search = ["-subimage-search", "-dissimilarity-threshold", "1e9"] if slack else []
    result = subprocess.run(["compare", "-metric", "AE", "-fuzz", fuzz, *search, "png:-", reference, "null:"],
                            input=crop, capture_output=True)
    match = re.match(rb"\s*([0-9.e+]+)", result.stderr)
    if match is None:
        raise RuntimeError(f"compare: {result.stderr.decode(errors='replace')}")
    return int(float(match.group(1)))


def _size(picture):
    return subprocess.run(["identify", "-format", "%wx%h", picture], capture_output=True, text=True,
                          check=True).stdout.strip()


def _run_in_private_session(argv):
    """Runs the tests again inside `dbus-run-session`, and ends every process that session started.

    The session's bus starts the accessibility services on demand, and they outlive it for a
    moment; as the reaper of orphaned descendants this process waits for them, or ends them.
    """
    import ctypes
    PR_SET_CHILD_SUBREAPER = 36
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)
    env = dict(os.environ, KORVELAN_E2E_PRIVATE_BUS="1")
    status = subprocess.call(["dbus-run-session", "--", sys.executable, *argv], env=env)
    deadline = time.monotonic() + 5
    while True:
        children = _children()
        if not children:
            break
        if time.monotonic() > deadline:
            for pid in children:
                try:
                    os.kill(pid, 9)
                except ProcessLookupError:
                    pass
        try:
            while os.waitpid(-1, os.WNOHANG)[0] > 0:
                pass
        except ChildProcessError:
            break
        time.sleep(0.05)
    return status


def _children():
    """The processes whose parent is this one, from /proc."""
    me = os.getpid()
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        if int(fields[1]) == me:
            found.append(int(entry))
    return found


def main(test_classes):

    if any(test_class.accessible for test_class in test_classes) and not os.environ.get("KORVELAN_E2E_PRIVATE_BUS"):
        # The accessibility bus belongs to a D-Bus session: a private one keeps the tests from ever
        # meeting the desktop's programs.
        sys.exit(_run_in_private_session(sys.argv))
    if len(sys.argv) < 2:
        sys.exit("usage: test_*.py <path of the korvelan executable>")
    ProgramTestCase.executable = os.path.abspath(sys.argv.pop(1))
    suite = unittest.TestSuite()
    for test_class in test_classes:
        suite.addTests(unittest.defaultTestLoader.loadTestsFromTestCase(test_class))
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    sys.exit(0 if result.wasSuccessful() else 1)
