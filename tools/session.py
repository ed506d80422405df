"""Drives the real program through a scripted session on its own Xvfb display, for the memory, idle
and memcheck measurements (tools/measure.sh, tools/memcheck.sh). Not a test: it prints what it saw.

usage: session.py [--wrap "COMMAND ..."] [--slow N] [--idle SECONDS] [--full] PROGRAM
  --wrap   a command that starts the program, e.g. "/usr/bin/time -v" or "valgrind ..."
  --slow   multiplies every wait (valgrind runs the program some 30 times slower)
  --idle   once the main window is up, the CPU time the program takes over that many idle seconds
  --full   every page, every option, suggestions and two searches; otherwise one search only
  --check-idle  fail (exit 3) when the program took more than a clock tick of CPU or woke more than a
                few times while idle
  --bare TITLE  PROGRAM is not the program but a bare window titled TITLE: wait for it, wait as long as
                the program's session would, and end it with SIGTERM
The program starts in its own folder, where its documents are; it ends through its quit question.
"""
import argparse
import os
import shlex
import subprocess
import sys
import tempfile
import time

MAIN_TITLE = "692 KORVELAN"
QUESTION_TITLE = "Les KORVELAN"
# Centres, in window pixels, of what the session clicks (the window is laid out in twips, 15 a pixel).
TABS = {1: (54, 626), 2: (162, 626), 3: (270, 626), 4: (378, 626)}
QUIT = (636, 629)
OPTIONS = [(26, 558), (186, 558), (346, 558), (510, 558), (26, 586), (186, 586), (346, 586), (510, 586)]
NUMBER_LIST_ROWS = [(300, 60), (300, 200), (300, 400)]


class Session:
    def __init__(self, slow):
        self.slow = slow
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1920x1080x24",
                                      "-nolisten", "tcp"], pass_fds=(write_end,),
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            sys.exit("Xvfb did not start")
        self.runtime = tempfile.mkdtemp(prefix="korvelan-session-")
        os.chmod(self.runtime, 0o700)
        self.env = dict(os.environ, DISPLAY=":" + number, XDG_RUNTIME_DIR=self.runtime)
        self.env.pop("QT_QPA_PLATFORM", None)

    def close(self):
        self.xvfb.terminate()
        self.xvfb.wait()

    def wait(self, seconds):
        time.sleep(seconds * self.slow)

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True).stdout.split()

    def window(self, title, other_than=None, timeout=20):
        deadline = time.monotonic() + timeout * self.slow
        while time.monotonic() < deadline:
            found = [w for w in self.xdotool("search", "--onlyvisible", "--name", f"^{title}$") if w != other_than]
            if found:
                return found[0]
            time.sleep(0.1)
        sys.exit(f"no window titled {title!r}")

    def click(self, window, point, pause=0.5):
        self.xdotool("mousemove", "--window", window, str(point[0]), str(point[1]), "click", "1")
        self.wait(pause)

    def type(self, window, text, pause=0.5):
        self.xdotool("windowfocus", "--sync", window)
        self.xdotool("type", "--delay", str(int(60 * self.slow)), text)
        self.wait(pause)

    def shot(self, label):
        """With KORVELAN_SESSION_SHOTS set to a folder, keeps a picture of the screen there."""
        folder = os.environ.get("KORVELAN_SESSION_SHOTS")
        if folder:
            os.makedirs(folder, exist_ok=True)
            subprocess.run(["import", "-window", "root", os.path.join(folder, label + ".png")], env=self.env,
                           capture_output=True)

    def key(self, window, key, pause=0.5):
        self.xdotool("windowfocus", "--sync", window)
        self.xdotool("key", key)
        self.wait(pause)


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime + stime, fields 14 and 15 of the whole line


def switches(pid):
    """Context switches of all the program's threads: how often any of them woke."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        with open(f"/proc/{pid}/task/{task}/status") as f:
            total += sum(int(line.split()[1]) for line in f if "ctxt_switches" in line)
    return total


def bare_window(args, program):
    """Shows the bare window as long as a session would show the program's, then ends it."""
    s = Session(args.slow)
    process = subprocess.Popen(shlex.split(args.wrap) + [program], env=s.env)
    try:
        window = s.window(args.bare)
        s.wait(2 + args.idle + (25 if args.full else 5))
        os.kill(int(s.xdotool("getwindowpid", window)[0]), 15)
        process.wait(30)
        return 0
    finally:
        if process.poll() is None:
            process.kill()
        s.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wrap", default="")
    parser.add_argument("--slow", type=float, default=1.0)
    parser.add_argument("--idle", type=float, default=0.0)
    parser.add_argument("--full", action="store_true")
    parser.add_argument("--check-idle", action="store_true")
    parser.add_argument("--bare")
    parser.add_argument("program")
    args = parser.parse_args()
    program = os.path.abspath(args.program)
    if args.bare:
        return bare_window(args, program)

    s = Session(args.slow)
    idle_failed = False
    try:
        started = time.monotonic()
        process = subprocess.Popen(shlex.split(args.wrap) + [program], cwd=os.path.dirname(program), env=s.env)
        main_window = s.window(MAIN_TITLE)
        print(f"session: main window after {time.monotonic() - started:.1f} s", flush=True)
        s.wait(2)

        if args.idle:
            pid = int(s.xdotool("getwindowpid", main_window)[0])
            ticks, switched = cpu_ticks(pid), switches(pid)
            time.sleep(args.idle)
            ticks, switched = cpu_ticks(pid) - ticks, switches(pid) - switched
            hz = os.sysconf("SC_CLK_TCK")
            print(f"session: idle {args.idle:g} s: {ticks * 1000 / hz:.0f} ms of CPU, {switched} context switches",
                  flush=True)
            if args.check_idle and (ticks > 1 or switched > 5):
                print("session: the program is not idle: a timer runs or something polls", flush=True)
                idle_failed = True

        if args.full:
            for point in NUMBER_LIST_ROWS:
                s.click(main_window, point)
            for point in OPTIONS:
                s.click(main_window, point, pause=1)
            s.click(main_window, OPTIONS[0])
            s.click(main_window, TABS[2])
            s.type(main_window, "e1")  # suggestions
            s.key(main_window, "ctrl+a")
            s.type(main_window, "colorant")
            s.key(main_window, "Return", pause=1)
            s.shot("colorant")
            for tab in (3, 4, 1):
                s.click(main_window, TABS[tab], pause=1)
                s.shot(f"page{tab}")
        s.click(main_window, TABS[2])
        s.key(main_window, "ctrl+a")
        s.type(main_window, "acide")
        s.key(main_window, "Return", pause=1)
        s.shot("searched")
        print("session: searched", flush=True)

        s.click(main_window, QUIT)
        box = s.window(QUESTION_TITLE, other_than=main_window)
        s.key(box, "Return", pause=0)
        code = process.wait(60 * args.slow)
        print(f"session: ended with code {code} after {time.monotonic() - started:.1f} s", flush=True)
        return 3 if idle_failed else code
    finally:
        if 'process' in locals() and process.poll() is None:
            process.kill()
        s.close()


if __name__ == "__main__":
    sys.exit(main())
