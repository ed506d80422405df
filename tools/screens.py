"""Takes screenshots of every page, the option lists, the legends, the quit question and the states of
the search, on its own Xvfb display, so that two builds can be compared picture by picture.

usage: screens.py PROGRAM FOLDER
       screens.py --compare BEFORE AFTER

Each state is taken three times, a third of a second apart, so that a blinking caret is caught both
shown and hidden; --compare then finds, for each state, the closest pair of pictures with
ImageMagick's `compare -metric AE` and prints the number of differing pixels (0: identical).
"""
import glob
import os
import re
import subprocess
import sys
import time

from session import OPTIONS, QUIT, TABS, Session

MAIN_TITLE = "692 KORVELAN"
BOX_TITLE = "Les KORVELAN"
SHOTS_PER_STATE = 3


class Screens(Session):
    def __init__(self, folder):
        super().__init__(1.0)
        self.folder = folder
        os.makedirs(folder, exist_ok=True)

    def take(self, label):
        time.sleep(0.6)  # the reactions and the repaint are done
        for n in range(SHOTS_PER_STATE):
            subprocess.run(["import", "-window", "root", os.path.join(self.folder, f"{label}-{n}.png")],
                           env=self.env, capture_output=True)
            time.sleep(0.33)

    def other_window(self, window):
        return self.window(BOX_TITLE, other_than=window)

    def close_box(self, box, key):
        self.key(box, key, pause=0.5)


def take_all(program, folder):
    s = Screens(folder)
    try:
        process = subprocess.Popen([program], cwd=os.path.dirname(program), env=s.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        main = s.window(MAIN_TITLE)
        s.wait(1.5)
        s.take("01-start")
        for i, point in enumerate(OPTIONS):
            s.click(main, point, pause=0.8)
            s.take(f"02-option{i}")
        s.click(main, OPTIONS[0], pause=0.8)
        s.click(main, (300, 200))
        s.take("03-row-chosen")

        # The legends, reached with the keyboard from the focus button: the tab buttons, the quit
        # button, the eight options and the list shown come first.
        s.click(main, TABS[1])
        s.click(main, (300, 200))
        s.key(main, "Escape", pause=0.2)
        for legend in (0, 1):
            s.click(main, TABS[1])
            s.xdotool("windowfocus", "--sync", main)
            s.xdotool("key", "--delay", "40", *(["Tab"] * (15 + legend)))
            s.wait(0.3)
            s.key(main, "Return")
            box = s.window(BOX_TITLE, other_than=main)
            s.take(f"04-legend{legend}")
            s.close_box(box, "Return")

        s.click(main, QUIT)
        box = s.window(BOX_TITLE, other_than=main)
        s.take("05-quit-question")
        s.close_box(box, "Escape")

        s.click(main, TABS[2])
        s.take("06-search-empty")
        s.type(main, "a")
        s.take("07-search-one-letter")
        s.type(main, "c")
        s.take("08-search-suggestions")
        s.key(main, "eacute", pause=0.3)
        box = s.window(BOX_TITLE, other_than=main)
        s.take("09-search-refused")
        s.close_box(box, "Return")
        s.xdotool("windowfocus", "--sync", main)
        s.take("10-search-after-refusal")
        s.key(main, "ctrl+a")
        s.type(main, "acide")
        s.key(main, "Return", pause=1)
        s.take("11-search-found")
        s.key(main, "ctrl+a")
        s.type(main, "xyz")
        s.key(main, "Return", pause=1)
        s.take("12-search-nothing")
        s.key(main, "ctrl+a")
        s.type(main, "Zinc")
        s.key(main, "Return", pause=1)
        s.key(main, "alt+Down", pause=0.5)
        s.take("13-search-history")
        s.key(main, "Escape")

        for tab in (3, 4, 1):
            s.click(main, TABS[tab], pause=1)
            s.take(f"14-page{tab}")

        s.click(main, QUIT)
        box = s.window(BOX_TITLE, other_than=main)
        s.key(box, "Return", pause=0)
        return process.wait(20)
    finally:
        if 'process' in locals() and process.poll() is None:
            process.kill()
        s.close()


def differing_pixels(a, b):
    result = subprocess.run(["compare", "-metric", "AE", a, b, "null:"], capture_output=True, text=True)
    match = re.match(r"\s*([0-9.e+]+)", result.stderr)
    return int(float(match.group(1))) if match else -1


def compare(before, after):
    labels = sorted({re.sub(r"-\d+\.png$", "", os.path.basename(p)) for p in glob.glob(os.path.join(before, "*.png"))})
    worst = 0
    for label in labels:
        olds = sorted(glob.glob(os.path.join(before, f"{label}-*.png")))
        news = sorted(glob.glob(os.path.join(after, f"{label}-*.png")))
        if not news:
            print(f"{label}: missing after")
            worst = max(worst, 1)
            continue
        best = min(differing_pixels(a, b) for a in olds for b in news)
        print(f"{label}: {best} pixels differ")
        worst = max(worst, best)
    print("identical" if worst == 0 else "DIFFERENT")
    return 0 if worst == 0 else 1


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "--compare":
        sys.exit(compare(sys.argv[2], sys.argv[3]))
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(take_all(os.path.abspath(sys.argv[1]), sys.argv[2]))
