"""End-to-end harness: runs the real program on its own X server and drives it as a person would,
with xdotool for keys and windows and ImageMagick's import for screenshots.

Each test gets a fresh Xvfb display and a fresh runtime folder (so the single-instance lock of one
test never meets another's), and every process it starts is ended when the test ends.
"""
import os
import shutil
import subprocess
import tempfile
import time
import unittest

ARTEFACTS = os.environ.get("KORVELAN_E2E_ARTEFACTS", os.path.join(tempfile.gettempdir(), "korvelan-e2e"))


class Display:
    """An Xvfb server on a free display number."""

    def __init__(self, width=1920, height=1080):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp"],
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

    def setUp(self):
        self.display = Display()
        self.runtime = tempfile.mkdtemp(prefix="korvelan-runtime-")
        os.chmod(self.runtime, 0o700)
        self.processes = []

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
        return env

    def start_program(self):
        """Starts the program the way the README does: from the folder that holds it."""
        process = subprocess.Popen([self.executable], cwd=os.path.dirname(self.executable), env=self.env(),
                                   stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        self.processes.append(process)
        return process

    def xdotool(self, *args, check=True):
        result = subprocess.run(["xdotool", *args], env=self.env(), capture_output=True, text=True)
        if check and result.returncode != 0:
            raise RuntimeError(f"xdotool {' '.join(args)}: {result.stderr.strip()}")
        return result.stdout.strip()

    def windows(self, name=None, pid=None):
        """Visible windows, optionally with exactly that title and of that process."""
        args = ["search", "--onlyvisible"]
        if pid is not None:
            args += ["--pid", str(pid)]
        args += ["--name", f"^{name}$" if name is not None else "."]
        output = self.xdotool(*args, check=False)
        return [line for line in output.splitlines() if line]

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

    def screenshot(self, label):
        """Keeps a picture of the whole screen as a test artefact; returns its path."""
        os.makedirs(ARTEFACTS, exist_ok=True)
        path = os.path.join(ARTEFACTS, f"{self.id().split('.')[-1]}-{label}.png")
        subprocess.run(["import", "-window", "root", path], env=self.env(), capture_output=True)
        return path


def main(test_classes):
    import sys
    if len(sys.argv) < 2:
        sys.exit("usage: test_*.py <path of the korvelan executable>")
    ProgramTestCase.executable = os.path.abspath(sys.argv.pop(1))
    suite = unittest.TestSuite()
    for test_class in test_classes:
        suite.addTests(unittest.defaultTestLoader.loadTestsFromTestCase(test_class))
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    sys.exit(0 if result.wasSuccessful() else 1)
